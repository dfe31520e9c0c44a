// Reading missions out of the archive.
#include "archive/Archive.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace {

const char kColumns[] =
    "SELECT mission_key, logger_id, logger_type, start_time, stop_time, interval_s, samples,"
    " temp_low, temp_high, humi_low, humi_high, temp_min, temp_max, temp_avg, temp_mkt,"
    " humi_min, humi_max, humi_avg, temp_excursions, temp_excursion_s, humi_excursions, humi_excursion_s,"
    " description, file_path, file_size, sha256, archived_at, station FROM mission";

const QString kNewestFirst = QStringLiteral(" ORDER BY start_time DESC, mission_key DESC");

// The WHERE condition of a filter and its values.
QString WhereOf(const ArchiveFilter& filter, QVariantList& values)
{
    QStringList where;
    if (!filter.loggerId.isEmpty()) {
        where << QStringLiteral("logger_id = ?");
        values << filter.loggerId;
    }
    // Overlapping the range: ending at or after its start, starting at or before its end.
    if (filter.from) {
        where << QStringLiteral("stop_time >= ?");
        values << qint64(*filter.from);
    }
    if (filter.to) {
        where << QStringLiteral("start_time <= ?");
        values << qint64(*filter.to);
    }
    if (filter.alarmsOnly)
        where << QStringLiteral("temp_excursions + humi_excursions > 0");
    return where.join(QStringLiteral(" AND "));
}

QString OrderOf(const MissionPage& page)
{
    static const char* const kColumns[] = {"logger_id", "start_time", "stop_time", "samples",
                                           "temp_excursions + humi_excursions", "file_path"};
    const QString direction = page.descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC");
    return QStringLiteral(" ORDER BY %1%2, mission_key%2 LIMIT %3 OFFSET %4")
        .arg(QLatin1String(kColumns[static_cast<int>(page.order)]), direction)
        .arg(page.limit)
        .arg(page.offset);
}

void MarkMissing(std::vector<MissionRow>& rows)
{
    for (MissionRow& row : rows)
        row.missing = !QFileInfo::exists(row.file);
}

MissionRow RowOf(const QSqlQuery& q)
{
    MissionRow row;
    int i = 0;
    const auto next = [&q, &i] { return q.value(i++); };
    row.key = next().toLongLong();
    row.loggerId = next().toString();
    row.type = next().toInt();
    row.start = next().toLongLong();
    row.stop = next().toLongLong();
    row.interval = next().toLongLong();
    row.samples = next().toInt();
    row.tempLimits = !q.isNull(i);
    row.tempLow = next().toDouble();
    row.tempHigh = next().toDouble();
    row.humiLimits = !q.isNull(i);
    row.humiLow = next().toDouble();
    row.humiHigh = next().toDouble();
    row.tempMin = next().toDouble();
    row.tempMax = next().toDouble();
    row.tempAvg = next().toDouble();
    row.tempMkt = next().toDouble();
    row.hasHumidity = !q.isNull(i);
    row.humiMin = next().toDouble();
    row.humiMax = next().toDouble();
    row.humiAvg = next().toDouble();
    row.tempExcursions = next().toInt();
    row.tempExcursionTime = next().toLongLong();
    row.humiExcursions = next().toInt();
    row.humiExcursionTime = next().toLongLong();
    row.description = next().toString();
    row.file = next().toString();
    row.fileSize = next().toLongLong();
    row.sha256 = next().toString();
    row.archivedAt = next().toLongLong();
    row.station = next().toString();
    return row;
}

} // namespace

bool CArchive::Select(const QString& where, const QVariantList& values, const QString& tail,
                      std::vector<MissionRow>& rows, QString& error)
{
    QSqlQuery query(Database());
    query.setForwardOnly(true);
    QString sql = QString::fromLatin1(kColumns);
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where;
    query.prepare(sql + (tail.contains(QLatin1String("ORDER BY")) ? tail : kNewestFirst + tail));
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!Exec(query, error))
        return false;
    while (query.next())
        rows.push_back(RowOf(query));
    return true;
}

bool CArchive::List(const ArchiveFilter& filter, std::vector<MissionRow>& rows, QString& error)
{
    QVariantList values;
    const QString where = WhereOf(filter, values);
    rows.clear();
    if (!Select(where, values, QString(), rows, error))
        return false;
    MarkMissing(rows);
    return true;
}

bool CArchive::Page(const ArchiveFilter& filter, const MissionPage& page, std::vector<MissionRow>& rows, QString& error)
{
    QVariantList values;
    const QString where = WhereOf(filter, values);
    rows.clear();
    if (!Select(where, values, OrderOf(page), rows, error))
        return false;
    MarkMissing(rows);
    return true;
}

bool CArchive::Count(const ArchiveFilter& filter, qint64& count, QString& error)
{
    QVariantList values;
    const QString where = WhereOf(filter, values);
    QSqlQuery query(Database());
    query.prepare(QStringLiteral("SELECT COUNT(*) FROM mission")
                  + (where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where));
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!Exec(query, error))
        return false;
    count = query.next() ? query.value(0).toLongLong() : 0;
    return true;
}

bool CArchive::FindNewest(const QString& loggerId, MissionRow& row, bool& found, QString& error)
{
    std::vector<MissionRow> rows;
    if (!Select(QStringLiteral("logger_id = ?"), {loggerId}, QStringLiteral(" LIMIT 1"), rows, error))
        return false;
    found = !rows.empty();
    if (found) {
        row = rows.front();
        row.missing = !QFileInfo::exists(row.file);
    }
    return true;
}

bool CArchive::FindFile(const QString& path, MissionRow& row, bool& found, QString& error)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    std::vector<MissionRow> rows;
    QFile file(absolute);
    bool ok = false;
    if (file.open(QIODevice::ReadOnly)) {
        QCryptographicHash hash(QCryptographicHash::Sha256);
        hash.addData(&file);
        const QString sha = QString::fromLatin1(hash.result().toHex());
        ok = Select(QStringLiteral("sha256 = ?"), {sha}, QStringLiteral(" LIMIT 1"), rows, error);
    } else {
        ok = Select(QStringLiteral("file_path = ?"), {absolute}, QStringLiteral(" LIMIT 1"), rows, error);
    }
    if (!ok)
        return false;
    found = !rows.empty();
    if (found) {
        row = rows.front();
        row.missing = !QFileInfo::exists(row.file);
    }
    return true;
}
