// The archive over both databases: import, idempotence, moved and damaged
// files, filters, concurrent importers, schema versions, and the failures
// each backend has of its own.
#include "support/MissionFiles.h"
#include "PgServer.h"
#include "RawSql.h"

#include "archive/Archive.h"
#include "archive/MissionModel.h"
#include "record/Excursions.h"
#include "support/TempDir.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {

enum class Backend { Sqlite, Postgres };

QByteArray Sha256Hex(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256).toHex();
}

class ArchiveTest : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        if (GetParam() == Backend::Postgres) {
            QString why;
            ASSERT_TRUE(pgtest::Running(why)) << why.toStdString();
            address = pgtest::NewDatabase();
        } else {
            address.path = dir.path(QStringLiteral("data/archive.sqlite"));
        }
    }

    bool Open(CArchive& archive)
    {
        QString error;
        const bool ok = archive.Open(address, error);
        EXPECT_TRUE(ok) << error.toStdString();
        return ok;
    }

    // Runs one statement on the archive past the program's code.
    void Raw(const QString& sql) { EXPECT_EQ(RunRawSql(address, {sql}), std::vector<bool>{true}) << sql.toStdString(); }

    QString Mission(const QString& name, const MissionPlan& plan)
    {
        const QString path = dir.path(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        EXPECT_TRUE(WriteMission(path, plan)) << name.toStdString();
        return path;
    }

    std::vector<MissionRow> ListAll(CArchive& archive, const ArchiveFilter& filter = {})
    {
        std::vector<MissionRow> rows;
        QString error;
        EXPECT_TRUE(archive.List(filter, rows, error)) << error.toStdString();
        return rows;
    }

    TempDir dir;
    ArchiveAddress address;
};

TEST_P(ArchiveTest, ImportIndexesTheMissionOnceAndListsWhatItStored)
{
    const QString humid = Mission("a/humid.tavo", {"UTH40000004", 2, true});
    const QString plain = Mission("a/plain.tavo", {"UT300000003", 3, false});
    CArchive archive;
    ASSERT_TRUE(Open(archive));
    const ImportResult first = archive.Import(humid);
    ASSERT_EQ(first.outcome, ImportResult::Indexed) << first.reason.toStdString();
    ASSERT_EQ(archive.Import(plain).outcome, ImportResult::Indexed);

    CLoggerRecord loaded;
    ASSERT_EQ(OpenDataFileRecord(humid, loaded, kDefaultDisplay), OpenDataResult::Loaded);
    const AlarmReport alarms = FindExcursions(loaded);
    ASSERT_GT(alarms.temperature.excursions, 0);
    ASSERT_GT(alarms.humidity.excursions, 0);

    // A second archive object (a second station) finds the schema made and
    // the files indexed.
    CArchive again;
    ASSERT_TRUE(Open(again));
    EXPECT_EQ(again.Import(humid).outcome, ImportResult::Known);
    EXPECT_EQ(again.Import(plain).outcome, ImportResult::Known);
    const std::vector<MissionRow> rows = ListAll(again);
    ASSERT_EQ(rows.size(), 2u);

    const MissionRow& h = rows[1]; // newest first: plain started a day later
    EXPECT_EQ(h.loggerId, "UTH40000004");
    EXPECT_EQ(h.type, 4);
    EXPECT_EQ(h.start, JuneTime(2, 8));
    EXPECT_EQ(h.stop, JuneTime(2, 8) + 49 * 600);
    EXPECT_EQ(h.interval, 600);
    EXPECT_EQ(h.samples, 50);
    EXPECT_TRUE(h.tempLimits);
    EXPECT_DOUBLE_EQ(h.tempLow, 2.0);
    EXPECT_DOUBLE_EQ(h.tempHigh, 8.0);
    EXPECT_TRUE(h.humiLimits);
    EXPECT_DOUBLE_EQ(h.humiHigh, 60.0);
    EXPECT_DOUBLE_EQ(h.tempMkt, loaded.m_fMkt);
    EXPECT_DOUBLE_EQ(h.tempMax, loaded.m_fMax);
    EXPECT_DOUBLE_EQ(h.tempMin, loaded.m_fMin);
    EXPECT_DOUBLE_EQ(h.tempAvg, loaded.m_fAvg);
    EXPECT_TRUE(h.hasHumidity);
    EXPECT_DOUBLE_EQ(h.humiMax, loaded.m_fHumiMax);
    EXPECT_EQ(h.tempExcursions, alarms.temperature.excursions);
    EXPECT_EQ(h.tempExcursionTime, alarms.temperature.above + alarms.temperature.below);
    EXPECT_EQ(h.humiExcursions, alarms.humidity.excursions);
    EXPECT_EQ(h.humiExcursionTime, alarms.humidity.above + alarms.humidity.below);
    EXPECT_EQ(h.description, "Cold room 3");
    EXPECT_EQ(h.file, humid);
    EXPECT_EQ(h.fileSize, QFileInfo(humid).size());
    EXPECT_EQ(h.sha256.toLatin1(), Sha256Hex(humid));
    EXPECT_FALSE(h.station.isEmpty());
    EXPECT_NEAR(h.archivedAt, QDateTime::currentSecsSinceEpoch(), 120);
    EXPECT_FALSE(h.missing);

    const MissionRow& p = rows[0];
    EXPECT_EQ(p.loggerId, "UT300000003");
    EXPECT_FALSE(p.hasHumidity);
    EXPECT_FALSE(p.humiLimits);
    EXPECT_EQ(p.Excursions(), 0);
}

TEST_P(ArchiveTest, AMovedFileIsMarkedMissingUntilItsNewPlaceIsImported)
{
    const QString first = Mission("old/m.tavo", {"UT300000003", 4, true});
    CArchive archive;
    ASSERT_TRUE(Open(archive));
    ASSERT_EQ(archive.Import(first).outcome, ImportResult::Indexed);
    const QString moved = dir.path("new/m.tavo");
    QDir().mkpath(dir.path("new"));
    ASSERT_TRUE(QFile::rename(first, moved));
    ASSERT_EQ(ListAll(archive).size(), 1u);
    EXPECT_TRUE(ListAll(archive)[0].missing);

    EXPECT_EQ(archive.Import(moved).outcome, ImportResult::Moved);
    // A copy of a file that is still where it was indexed is the same mission.
    const QString copy = dir.path("new/copy.tavo");
    ASSERT_TRUE(QFile::copy(moved, copy));
    EXPECT_EQ(archive.Import(copy).outcome, ImportResult::Known);

    const std::vector<MissionRow> rows = ListAll(archive);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].file, moved);
    EXPECT_FALSE(rows[0].missing);
}

TEST_P(ArchiveTest, DamagedFilesAreRefusedWithTheReadersReasonAndNothingIsWritten)
{
    const QString good = Mission("good.tavo", {"UT300000003", 4, true});
    QFile source(good);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray bytes = source.readAll();
    const struct {
        const char* name;
        QByteArray content;
    } cases[] = {
        {"empty.tavo", {}},
        {"garbage.tavo", QByteArray(400, 'x')},
        {"truncated.tavo", bytes.left(bytes.size() / 2)},
    };
    CArchive archive;
    ASSERT_TRUE(Open(archive));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.path(QString::fromLatin1(c.name));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.content);
        f.close();
        CLoggerRecord record;
        QString why;
        ASSERT_NE(OpenDataFileRecord(path, record, kDefaultDisplay, nullptr, &why), OpenDataResult::Loaded);
        const ImportResult result = archive.Import(path);
        EXPECT_EQ(result.outcome, ImportResult::Damaged);
        EXPECT_FALSE(result.reason.isEmpty());
        EXPECT_EQ(result.reason, why);
    }
    const ImportResult gone = archive.Import(dir.path("no-such.tavo"));
    EXPECT_EQ(gone.outcome, ImportResult::Damaged);
    EXPECT_FALSE(gone.reason.isEmpty());
    EXPECT_TRUE(ListAll(archive).empty());
}

TEST_P(ArchiveTest, FiltersCombineAndListNewestFirst)
{
    CArchive archive;
    ASSERT_TRUE(Open(archive));
    for (const MissionPlan& plan : {MissionPlan{"UT300000011", 1, true}, MissionPlan{"UT300000011", 5, false},
                                    MissionPlan{"UTH40000022", 3, true}, MissionPlan{"UTH40000022", 10, false}}) {
        const QString path = Mission(QStringLiteral("%1-%2.tavo").arg(plan.id).arg(plan.day), plan);
        const ImportResult result = archive.Import(path);
        ASSERT_EQ(result.outcome, ImportResult::Indexed) << result.reason.toStdString();
    }
    // Each mission runs 08:00 to 16:10 of its day.
    const struct {
        const char* name;
        ArchiveFilter filter;
        std::vector<int> days; // the missions listed, by day
    } cases[] = {
        {"all", {}, {10, 5, 3, 1}},
        {"one logger", {"UT300000011", {}, {}, false}, {5, 1}},
        {"with alarms", {{}, {}, {}, true}, {3, 1}},
        {"logger and alarms", {"UTH40000022", {}, {}, true}, {3}},
        {"overlapping a range", {{}, JuneTime(3, 16), JuneTime(5, 8)}, {5, 3}},
        {"ending before the range", {{}, JuneTime(3, 16, 11), {}, false}, {10, 5}},
        {"up to a time", {{}, {}, JuneTime(3, 7, 59), false}, {1}},
        {"no such logger", {"UT300000099", {}, {}, false}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<int> days;
        for (const MissionRow& row : ListAll(archive, c.filter))
            days.push_back(static_cast<int>((row.start - JuneTime(1, 8)) / 86400) + 1);
        EXPECT_EQ(days, c.days);
    }
}

TEST_P(ArchiveTest, TwoImportersAtOnceIndexEachMissionExactlyOnce)
{
    QStringList files;
    for (int i = 0; i < 12; ++i)
        files << Mission(QStringLiteral("m%1.tavo").arg(i), {"UT300000003", i + 1, i % 2 == 0});
    std::atomic<int> ready{0};
    int indexed[2] = {0, 0};
    int other[2] = {0, 0};
    const auto importer = [&](int n) {
        CArchive archive;
        QString error;
        if (!archive.Open(address, error)) {
            ADD_FAILURE() << error.toStdString();
            return;
        }
        ++ready;
        while (ready < 2)
            std::this_thread::yield();
        for (const QString& file : files) {
            const ImportResult result = archive.Import(file);
            if (result.outcome == ImportResult::Indexed)
                ++indexed[n];
            else if (result.outcome != ImportResult::Known)
                ++other[n];
            EXPECT_TRUE(result.outcome == ImportResult::Indexed || result.outcome == ImportResult::Known)
                << result.reason.toStdString();
        }
    };
    std::thread a(importer, 0);
    std::thread b(importer, 1);
    a.join();
    b.join();
    EXPECT_EQ(indexed[0] + indexed[1], 12);
    EXPECT_EQ(other[0] + other[1], 0);
    CArchive archive;
    ASSERT_TRUE(Open(archive));
    EXPECT_EQ(ListAll(archive).size(), 12u);
}

TEST_P(ArchiveTest, AnArchiveOfANewerSchemaIsRefusedAndLeftAlone)
{
    {
        CArchive archive;
        ASSERT_TRUE(Open(archive));
    }
    Raw(QStringLiteral("UPDATE archive_schema SET version = %1").arg(CArchive::kSchemaVersion + 1));
    CArchive archive;
    QString error;
    EXPECT_FALSE(archive.Open(address, error));
    EXPECT_TRUE(error.contains(QStringLiteral("newer version"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("schema version %1").arg(CArchive::kSchemaVersion + 1)))
        << error.toStdString();
}

TEST_P(ArchiveTest, TheTableModelFetchesPagesAsTheViewScrollsInTheOrderChosen)
{
    CArchive archive;
    ASSERT_TRUE(Open(archive));
    const char* const ids[] = {"UT300000005", "UT300000001", "UT300000009", "UT300000001",
                               "UT300000007", "UT300000003", "UT300000001"};
    for (int day = 1; day <= 7; ++day) {
        const QString path = Mission(QStringLiteral("d%1.tavo").arg(day), {ids[day - 1], day, day % 2 == 0});
        ASSERT_EQ(archive.Import(path).outcome, ImportResult::Indexed);
    }
    CMissionModel model(archive);
    model.SetPageSize(3);
    QString error;
    ASSERT_TRUE(model.SetFilter({}, error)) << error.toStdString();
    EXPECT_EQ(model.Total(), 7);
    std::vector<int> rowsSeen = {model.rowCount()};
    while (model.canFetchMore({})) {
        model.fetchMore({});
        rowsSeen.push_back(model.rowCount());
    }
    EXPECT_EQ(rowsSeen, (std::vector<int>{3, 6, 7}));
    const auto column = [&model](int col) {
        QStringList values;
        for (int row = 0; row < model.rowCount(); ++row)
            values << model.index(row, col).data().toString();
        return values.join(' ');
    };
    const auto day = [](const MissionRow& row) { return static_cast<int>((row.start - JuneTime(1, 8)) / 86400) + 1; };
    std::vector<int> days;
    for (int row = 0; row < model.rowCount(); ++row)
        days.push_back(day(model.Row(row)));
    EXPECT_EQ(days, (std::vector<int>{7, 6, 5, 4, 3, 2, 1}));

    // Sorting asks again from the first page; equal IDs keep their import order.
    model.sort(CMissionModel::ColId, Qt::AscendingOrder);
    EXPECT_EQ(model.rowCount(), 3);
    while (model.canFetchMore({}))
        model.fetchMore({});
    EXPECT_EQ(column(CMissionModel::ColId),
              "UT300000001 UT300000001 UT300000001 UT300000003 UT300000005 UT300000007 UT300000009");
    days.clear();
    for (int row = 0; row < 3; ++row)
        days.push_back(day(model.Row(row)));
    EXPECT_EQ(days, (std::vector<int>{2, 4, 7}));

    ASSERT_TRUE(model.SetFilter({{}, {}, {}, true}, error));
    EXPECT_EQ(model.Total(), 3);
    EXPECT_FALSE(column(CMissionModel::ColExcursions).split(' ').contains("0"));
}

INSTANTIATE_TEST_SUITE_P(Backends, ArchiveTest, ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         [](const ::testing::TestParamInfo<Backend>& info) {
                             return info.param == Backend::Sqlite ? "Sqlite" : "Postgres";
                         });

} // namespace
