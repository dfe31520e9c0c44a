// Importing data files into the archive.
#include "archive/Archive.h"

#include "datafile/LoggerFile.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSysInfo>

namespace {

ImportResult Outcome(ImportResult::Outcome outcome, const QString& reason = {})
{
    ImportResult result;
    result.outcome = outcome;
    result.reason = reason;
    return result;
}

} // namespace

ImportResult CArchive::Import(const QString& given)
{
    const QString path = QFileInfo(given).absoluteFilePath();
    QFile file(path);
    QString why;
    CLoggerRecord record;
    if (!file.open(QIODevice::ReadOnly)) {
        OpenDataFileRecord(path, record, kDefaultDisplay, nullptr, &why);
        return Outcome(ImportResult::Damaged, why.isEmpty() ? file.errorString() : why);
    }
    const QByteArray bytes = file.readAll();
    file.close();
    const QString sha = QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());

    QString error;
    std::vector<MissionRow> known;
    if (!Select(QStringLiteral("sha256 = ?"), {sha}, QString(), known, error))
        return Outcome(ImportResult::Failed, error);
    if (!known.empty())
        return FromKnown(known.front(), path);

    if (OpenDataFileRecord(path, record, kDefaultDisplay, nullptr, &why) != OpenDataResult::Loaded)
        return Outcome(ImportResult::Damaged, why);
    ImportResult result = Outcome(ImportResult::Indexed);
    result.row = MissionFromRecord(record, path, bytes.size(), sha);
    result.row.archivedAt = QDateTime::currentSecsSinceEpoch();
    result.row.station = QSysInfo::machineHostName();
    bool inserted = false;
    if (!Insert(result.row, inserted, error))
        return Outcome(ImportResult::Failed, error);
    if (!inserted) // another station indexed the same file meanwhile
        result.outcome = ImportResult::Known;
    return result;
}

// A file whose bytes are indexed: when the indexed path no longer holds a
// file, this file is the moved mission and the path is updated.
ImportResult CArchive::FromKnown(const MissionRow& known, const QString& path)
{
    ImportResult result = Outcome(ImportResult::Known);
    result.row = known;
    if (known.file == path || QFileInfo::exists(known.file))
        return result;
    QString error;
    if (!UpdatePath(known.key, path, error))
        return Outcome(ImportResult::Failed, error);
    result.outcome = ImportResult::Moved;
    result.row.file = path;
    return result;
}

bool CArchive::Insert(const MissionRow& row, bool& inserted, QString& error)
{
    if (!Exec(m_dialect.BeginWrite(), error))
        return false;
    QSqlQuery query(Database());
    query.prepare(QStringLiteral(
        "INSERT INTO mission (logger_id, logger_type, start_time, stop_time, interval_s, samples,"
        " temp_low, temp_high, humi_low, humi_high, temp_min, temp_max, temp_avg, temp_mkt,"
        " humi_min, humi_max, humi_avg, temp_excursions, temp_excursion_s, humi_excursions, humi_excursion_s,"
        " description, file_path, file_size, sha256, archived_at, station)"
        " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"
        " ON CONFLICT DO NOTHING"));
    const QVariant none(QMetaType::fromType<double>());
    const auto optional = [&none](bool present, double value) { return present ? QVariant(value) : none; };
    const QVariantList values = {
        row.loggerId, row.type, qint64(row.start), qint64(row.stop), qint64(row.interval), row.samples,
        optional(row.tempLimits, row.tempLow), optional(row.tempLimits, row.tempHigh),
        optional(row.humiLimits, row.humiLow), optional(row.humiLimits, row.humiHigh),
        row.tempMin, row.tempMax, row.tempAvg, row.tempMkt,
        optional(row.hasHumidity, row.humiMin), optional(row.hasHumidity, row.humiMax),
        optional(row.hasHumidity, row.humiAvg),
        row.tempExcursions, qint64(row.tempExcursionTime), row.humiExcursions, qint64(row.humiExcursionTime),
        row.description, row.file, row.fileSize, row.sha256, qint64(row.archivedAt), row.station};
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!Exec(query, error))
        return Rollback();
    inserted = query.numRowsAffected() > 0;
    return Exec(QStringLiteral("COMMIT"), error) || Rollback();
}

bool CArchive::UpdatePath(qint64 key, const QString& path, QString& error)
{
    if (!Exec(m_dialect.BeginWrite(), error))
        return false;
    QSqlQuery query(Database());
    query.prepare(QStringLiteral("UPDATE mission SET file_path = ? WHERE mission_key = ?"));
    query.addBindValue(path);
    query.addBindValue(key);
    if (!Exec(query, error))
        return Rollback();
    return Exec(QStringLiteral("COMMIT"), error) || Rollback();
}

QStringList CollectDataFiles(const QStringList& paths, QStringList& missing)
{
    QStringList files;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (info.isDir()) {
            QStringList found;
            QDirIterator it(path, {QStringLiteral("*.tavo")}, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext())
                found << it.next();
            found.sort();
            files << found;
        } else if (info.exists()) {
            files << path;
        } else {
            missing << path;
        }
    }
    return files;
}

ImportResult ImportReconnecting(CArchive& archive, const QString& path)
{
    ImportResult result = archive.Import(path);
    if (result.outcome != ImportResult::Failed)
        return result;
    const ArchiveAddress address = archive.Address();
    QString error;
    if (!archive.Open(address, error)) {
        archive.Close();
        return result;
    }
    result = archive.Import(path);
    if (result.outcome == ImportResult::Failed)
        archive.Close();
    return result;
}
