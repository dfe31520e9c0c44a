#include "station/MissionFiles.h"

#include "datafile/DataFileWriter.h"
#include "datafile/LoggerFile.h"
#include "export/CsvExport.h"
#include "export/Worksheet.h"
#include "report/pdf/PdfReport.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

using RecordWriter = bool (*)(const CLoggerRecord&, const DisplaySettings&, const QString&, QString*);

struct Output {
    QString extension;
    RecordWriter write;
};

bool WriteTavo(const CLoggerRecord& record, const DisplaySettings&, const QString& path, QString* why)
{
    return WriteRecordDataFile(record, path, why);
}

QString SafeName(const QString& id)
{
    QString name = id.trimmed();
    for (QChar& c : name)
        if (c.unicode() < 0x21 || c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char('.'))
            c = QLatin1Char('_');
    return name.isEmpty() ? QStringLiteral("unknown") : name;
}

// What the data file at path holds, as far as filing needs it.
enum class Existing { None, SameMission, LongerMission, Other };

Existing Compare(const QString& path, const CLoggerRecord& record)
{
    if (!QFileInfo::exists(path))
        return Existing::None;
    CLoggerRecord there;
    if (OpenDataFileRecord(path, there, kDefaultDisplay) != OpenDataResult::Loaded)
        return Existing::Other;
    if (there.m_strValue[ROW_ID].trimmed() != record.m_strValue[ROW_ID].trimmed() || there.m_tStart != record.m_tStart)
        return Existing::Other;
    if (there.m_nCount == record.m_nCount)
        return Existing::SameMission;
    return there.m_nCount < record.m_nCount ? Existing::LongerMission : Existing::Other;
}

// Moves every staged file onto its target, replacing what is there.
bool Publish(const std::vector<std::pair<QString, QString>>& moves, QString& why)
{
    for (const auto& [staged, target] : moves) {
        if (std::rename(QFile::encodeName(staged).constData(), QFile::encodeName(target).constData()) != 0) {
            why = QStringLiteral("cannot move %1 into place: %2").arg(QFileInfo(target).fileName(), QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
    }
    return true;
}

} // namespace

QString MissionFolder(const QString& folder, const QString& loggerId)
{
    return QDir(folder).filePath(SafeName(loggerId));
}

QString MissionBaseName(const QString& loggerId, time64 start)
{
    const QString when = QDateTime::fromSecsSinceEpoch(start).toString(QStringLiteral("yyyyMMdd-HHmm"));
    return SafeName(loggerId) + QLatin1Char('_') + when;
}

FilingResult FileMission(const CLoggerRecord& record, const DisplaySettings& display, const QString& folder,
                         const ReportChoice& reports)
{
    FilingResult result;
    const QString id = record.m_strValue[ROW_ID];
    const QString dir = MissionFolder(folder, id);
    if (!QDir().mkpath(dir)) {
        result.reason = QStringLiteral("cannot create the folder %1").arg(dir);
        return result;
    }
    const QString base = MissionBaseName(id, record.m_tStart);
    QString stem;
    for (int n = 1;; ++n) {
        stem = QDir(dir).filePath(n == 1 ? base : QStringLiteral("%1_%2").arg(base).arg(n));
        const Existing there = Compare(stem + QStringLiteral(".tavo"), record);
        if (there == Existing::SameMission) {
            result.outcome = FilingResult::Outcome::AlreadyArchived;
            result.dataFile = stem + QStringLiteral(".tavo");
            for (const char* ext : {".tavo", ".pdf", ".xlsx", ".csv"})
                if (QFileInfo::exists(stem + QLatin1String(ext)))
                    result.files << stem + QLatin1String(ext);
            return result;
        }
        if (there == Existing::None || there == Existing::LongerMission)
            break;
    }

    std::vector<Output> outputs{{QStringLiteral("tavo"), WriteTavo}};
    if (reports.pdf)
        outputs.push_back({QStringLiteral("pdf"), WritePdfReport});
    if (reports.xlsx)
        outputs.push_back({QStringLiteral("xlsx"), WriteWorksheet});
    if (reports.csv)
        outputs.push_back({QStringLiteral("csv"), WriteCsvFile});

    QTemporaryDir staging(QDir(dir).filePath(QStringLiteral(".staging-XXXXXX")));
    if (!staging.isValid()) {
        result.reason = QStringLiteral("cannot write in %1: %2").arg(dir, staging.errorString());
        return result;
    }
    std::vector<std::pair<QString, QString>> moves;
    QString tavoWhy;
    for (const Output& output : outputs) {
        const QString name = QFileInfo(stem).fileName() + QLatin1Char('.') + output.extension;
        const QString staged = staging.filePath(name);
        QString why;
        if (output.write(record, display, staged, &why)) {
            moves.emplace_back(staged, stem + QLatin1Char('.') + output.extension);
            continue;
        }
        if (output.write != WriteTavo) {
            result.reason = QStringLiteral("%1: %2").arg(name, why);
            return result;
        }
        tavoWhy = QStringLiteral("%1: %2").arg(name, why);
    }
    if (!tavoWhy.isEmpty()) {
        // The data file could not hold the mission: its samples still go out as CSV.
        const QString name = QFileInfo(stem).fileName() + QStringLiteral(".csv");
        QString why;
        moves.clear();
        if (!WriteCsvFile(record, display, staging.filePath(name), &why)) {
            result.reason = QStringLiteral("%1; %2: %3").arg(tavoWhy, name, why);
            return result;
        }
        moves.emplace_back(staging.filePath(name), stem + QStringLiteral(".csv"));
        result.reason = QStringLiteral("%1; the CSV was written").arg(tavoWhy);
    }
    QString why;
    if (!Publish(moves, why)) {
        result.reason = why;
        return result;
    }
    for (const auto& move : moves)
        result.files << move.second;
    if (tavoWhy.isEmpty()) {
        result.outcome = FilingResult::Outcome::Archived;
        result.dataFile = stem + QStringLiteral(".tavo");
    }
    return result;
}
