// The mission archive: importing generated missions of 1000 samples into
// SQLite (and into PostgreSQL when HALVERN_BENCH_PG names a database), a
// filtered listing over 100 000 missions, and checking an audit trail of
// 100 000 entries, in the process and as `halvern-th-cli audit verify`.
//   HALVERN_BENCH_IMPORT_COUNT: missions imported per run (default 10000).
#include "archive/Archive.h"
#include "archive/MissionModel.h"
#include "datafile/LoggerFile.h"
#include "record/TimeText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

constexpr int kSamples = 1000;

int ImportCount()
{
    const int count = qEnvironmentVariableIntValue("HALVERN_BENCH_IMPORT_COUNT");
    return count > 0 ? count : 10000;
}

// Mission n: logger n % 100, one a day, temperatures on a wave crossing
// the limits 2..8 C on every third logger.
bool WriteMission(const QString& path, int n)
{
    CLoggerRecord r;
    r.m_nType = 3;
    r.m_strValue[ROW_ID] = QStringLiteral("UT3%1").arg(n % 100, 8, 10, QLatin1Char('0'));
    r.m_strValue[ROW_DESCRIPTION] = QStringLiteral("Bench room");
    r.m_tsInterval = 600;
    r.m_tStart = MakeLocalTime(2020, 1, 1, 8, 0) + static_cast<time64>(n) * 86400;
    r.m_tStop = r.m_tStart + (kSamples - 1) * r.m_tsInterval;
    r.m_bTempAlarm = 1;
    r.m_fLowLimit = 2;
    r.m_fHighLimit = 8;
    const double amplitude = n % 3 == 0 ? 4.0 : 2.0;
    std::vector<float> values(kSamples);
    for (int i = 0; i < kSamples; ++i)
        values[i] = static_cast<float>(std::round((5.0 + amplitude * std::sin(i / 30.0 + n)) * 100) / 100);
    r.SetCount(kSamples);
    r.m_nReceived = kSamples;
    r.StoreSamples(0, values.data(), kSamples);
    r.BuildTimeTable();
    r.Recompute(true, TempUnit::Celsius);
    CLoggerFile file(path, CLoggerFile::ModeWrite);
    return file.IsOutputOpen() && file.Save(r, false);
}

// The generated files, made once per program run.
QString MissionFolder()
{
    static QTemporaryDir dir;
    static bool made = false;
    if (!made) {
        made = true;
        for (int n = 0; n < ImportCount(); ++n)
            WriteMission(dir.filePath(QStringLiteral("m%1.tavo").arg(n)), n);
    }
    return dir.path();
}

void ImportAll(benchmark::State& state, const ArchiveAddress& address)
{
    QStringList missing;
    const QStringList files = CollectDataFiles({MissionFolder()}, missing);
    for (auto _ : state) {
        CArchive archive;
        QString error;
        if (!archive.Open(address, error)) {
            state.SkipWithError(error.toLocal8Bit().constData());
            return;
        }
        int indexed = 0;
        for (const QString& file : files)
            indexed += archive.Import(file).outcome == ImportResult::Indexed;
        state.PauseTiming();
        if (indexed != files.size())
            state.SkipWithError("a mission was not indexed");
        archive.Close();
        if (address.kind == ArchiveAddress::Kind::Sqlite)
            QFile::remove(address.path);
        state.ResumeTiming();
    }
    state.counters["missions"] = files.size();
}

void BM_ImportSqlite(benchmark::State& state)
{
    QTemporaryDir dir;
    ArchiveAddress address;
    address.path = dir.filePath(QStringLiteral("archive.sqlite"));
    ImportAll(state, address);
}
BENCHMARK(BM_ImportSqlite)->Unit(benchmark::kSecond)->Iterations(1);

void BM_ImportPostgres(benchmark::State& state)
{
    ArchiveAddress address;
    QString error;
    if (!ParseArchiveAddress(qEnvironmentVariable("HALVERN_BENCH_PG"), address, error)
        || address.kind != ArchiveAddress::Kind::Postgres) {
        state.SkipWithError("set HALVERN_BENCH_PG=postgresql://USER@HOST/DB (an empty database)");
        return;
    }
    ImportAll(state, address);
}
BENCHMARK(BM_ImportPostgres)->Unit(benchmark::kSecond)->Iterations(1);

// 100 000 missions of 1000 loggers, one a day per logger, every fifth
// with excursions, written straight into the table in one transaction.
bool FillHundredThousand(const ArchiveAddress& address)
{
    {
        CArchive archive;
        QString error;
        if (!archive.Open(address, error))
            return false;
    }
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
        db.setDatabaseName(address.path);
        ok = db.open() && db.transaction();
        QSqlQuery q(db);
        q.prepare(QStringLiteral(
            "INSERT INTO mission (logger_id, logger_type, start_time, stop_time, interval_s, samples,"
            " temp_low, temp_high, temp_min, temp_max, temp_avg, temp_mkt, temp_excursions, temp_excursion_s,"
            " humi_excursions, humi_excursion_s, description, file_path, file_size, sha256, archived_at, station)"
            " VALUES (?, 3, ?, ?, 600, 144, 2, 8, 1.5, 8.5, 5, 5.1, ?, ?, 0, 0, 'Bench room', ?, 7000, ?, ?, 'bench')"));
        const time64 first = MakeLocalTime(2020, 1, 1, 8, 0);
        for (int n = 0; ok && n < 100000; ++n) {
            const time64 start = first + static_cast<time64>(n / 1000) * 86400;
            q.addBindValue(QStringLiteral("UT3%1").arg(n % 1000, 8, 10, QLatin1Char('0')));
            q.addBindValue(qint64(start));
            q.addBindValue(qint64(start + 143 * 600));
            q.addBindValue(n % 5 == 0 ? 2 : 0);
            q.addBindValue(n % 5 == 0 ? 3600 : 0);
            q.addBindValue(QStringLiteral("/srv/missions/m%1.tavo").arg(n));
            q.addBindValue(QStringLiteral("%1").arg(n, 64, 16, QLatin1Char('0')));
            q.addBindValue(qint64(start + 86400));
            ok = q.exec();
        }
        ok = ok && db.commit();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fill"));
    return ok;
}

// The archive of 100 000 missions, filled once per program run.
const ArchiveAddress* HundredThousand()
{
    static QTemporaryDir dir;
    static ArchiveAddress address;
    static bool filled = false;
    if (!filled) {
        address.path = dir.filePath(QStringLiteral("archive.sqlite"));
        filled = FillHundredThousand(address);
    }
    return filled ? &address : nullptr;
}

ArchiveFilter OneWeek()
{
    ArchiveFilter filter;
    filter.from = MakeLocalTime(2020, 2, 1, 0, 0);
    filter.to = MakeLocalTime(2020, 2, 7, 23, 59);
    return filter;
}

void ListFiltered(benchmark::State& state, const ArchiveFilter& filter)
{
    CArchive archive;
    QString error;
    if (!HundredThousand() || !archive.Open(*HundredThousand(), error)) {
        state.SkipWithError("cannot fill the archive");
        return;
    }
    std::size_t listed = 0;
    for (auto _ : state) {
        std::vector<MissionRow> rows;
        if (!archive.List(filter, rows, error))
            state.SkipWithError(error.toLocal8Bit().constData());
        listed = rows.size();
    }
    state.counters["listed"] = static_cast<double>(listed);
}

void BM_ListOneLoggerWithAlarms(benchmark::State& state)
{
    ArchiveFilter filter;
    filter.loggerId = QStringLiteral("UT300000005");
    filter.alarmsOnly = true;
    ListFiltered(state, filter);
}
BENCHMARK(BM_ListOneLoggerWithAlarms)->Unit(benchmark::kMillisecond);

void BM_ListOneWeek(benchmark::State& state)
{
    ListFiltered(state, OneWeek());
}
BENCHMARK(BM_ListOneWeek)->Unit(benchmark::kMillisecond);

// What the window's table costs for the same filter: the count and the
// first page of rows.
void BM_ModelFirstPageOneWeek(benchmark::State& state)
{
    CArchive archive;
    QString error;
    if (!HundredThousand() || !archive.Open(*HundredThousand(), error)) {
        state.SkipWithError("cannot fill the archive");
        return;
    }
    CMissionModel model(archive);
    for (auto _ : state) {
        if (!model.SetFilter(OneWeek(), error))
            state.SkipWithError(error.toLocal8Bit().constData());
    }
    state.counters["rows"] = model.rowCount();
    state.counters["total"] = static_cast<double>(model.Total());
}
BENCHMARK(BM_ModelFirstPageOneWeek)->Unit(benchmark::kMillisecond);

// An audit trail of 100 000 entries of 100 loggers, appended by the program
// in one transaction, made once per program run.
const ArchiveAddress* HundredThousandEntries()
{
    static QTemporaryDir dir;
    static ArchiveAddress address;
    static bool filled = false;
    if (!filled) {
        address.path = dir.filePath(QStringLiteral("trail.sqlite"));
        CArchive archive;
        QString error;
        std::vector<AuditEntry> entries(100000);
        for (int n = 0; n < 100000; ++n) {
            AuditEntry& e = entries[static_cast<std::size_t>(n)];
            e.time = QStringLiteral("2026-%1-01T10:00:00Z").arg(n / 10000 + 1, 2, 10, QLatin1Char('0'));
            e.user = QStringLiteral("clerk");
            e.host = QStringLiteral("station-%1").arg(n % 3);
            e.action = n % 2 ? QStringLiteral("download") : QStringLiteral("start");
            e.logger = QStringLiteral("UT3%1").arg(n % 100, 8, 10, QLatin1Char('0'));
            e.detail = QStringLiteral("{\"file\":\"/srv/missions/m%1.tavo\",\"samples\":%2,\"sha256\":\"%3\"}")
                           .arg(n)
                           .arg(n % 60000)
                           .arg(n, 64, 16, QLatin1Char('0'));
        }
        filled = archive.Open(address, error) && archive.AppendAudit(entries, error);
    }
    return filled ? &address : nullptr;
}

void BM_AuditVerify100k(benchmark::State& state)
{
    CArchive archive;
    QString error;
    if (!HundredThousandEntries() || !archive.Open(*HundredThousandEntries(), error)) {
        state.SkipWithError("cannot fill the audit trail");
        return;
    }
    AuditVerdict verdict;
    for (auto _ : state) {
        if (!archive.VerifyAudit(verdict, error) || !verdict.intact || verdict.entries != 100000)
            state.SkipWithError("the trail does not check out");
    }
    state.counters["entries"] = static_cast<double>(verdict.entries);
}
BENCHMARK(BM_AuditVerify100k)->Unit(benchmark::kMillisecond);

// The whole command as a user runs it: start, open, check, print.
void BM_AuditVerifyCommand100k(benchmark::State& state)
{
    // The CLI sits next to the bench folder in the build tree.
    const QString cli = QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).absolutePath()
                        + QStringLiteral("/../halvern-th-cli");
    if (!HundredThousandEntries() || !QFileInfo::exists(cli)) {
        state.SkipWithError("no halvern-th-cli beside the benchmarks, or no trail");
        return;
    }
    for (auto _ : state) {
        QProcess p;
        p.start(cli, {QStringLiteral("audit"), QStringLiteral("verify"), QStringLiteral("--archive-db"),
                      HundredThousandEntries()->path});
        if (!p.waitForFinished(60000) || p.exitCode() != 0
            || p.readAllStandardOutput() != "100000 entries, chain intact\n")
            state.SkipWithError("audit verify failed");
    }
}
BENCHMARK(BM_AuditVerifyCommand100k)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
