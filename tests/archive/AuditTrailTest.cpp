// The audit trail over both databases: the hash chain as its formula says,
// tampering found at the right entry, concurrent appenders keeping one
// chain, the queue of entries an unwritable archive could not take, the
// migration of an archive made before the trail, and the listing a view uses.
#include "PgServer.h"
#include "RawSql.h"
#include "support/MissionFiles.h"

#include "archive/Archive.h"
#include "archive/AuditRecorder.h"
#include "support/TempDir.h"

#include <QCryptographicHash>
#include <QFile>
#include <QRegularExpression>
#include <QUrl>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {

enum class Backend { Sqlite, Postgres };

// The hash as the trail's readers are told to compute it.
QString ExpectedHash(const QString& prev, qint64 seq, const QString& time, const QString& user, const QString& host,
                     const QString& action, const QString& logger, const QString& detail)
{
    const QString text = QStringList{prev, QString::number(seq), time, user, host, action, logger, detail}.join('\n');
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toHex());
}

QString ExpectedHash(const AuditEntry& e)
{
    return ExpectedHash(e.prev, e.seq, e.time, e.user, e.host, e.action, e.logger, e.detail);
}

// An address as --archive-db takes it.
QString AddressText(const ArchiveAddress& a)
{
    if (a.kind == ArchiveAddress::Kind::Sqlite)
        return a.path;
    return QStringLiteral("postgresql://%1@%2/%3")
        .arg(a.user, QString::fromLatin1(QUrl::toPercentEncoding(a.host)), a.database);
}

AuditEntry Entry(const QString& action, const QString& logger, const QString& time, const QString& detail = "{}")
{
    AuditEntry e;
    e.time = time;
    e.user = QStringLiteral("clerk");
    e.host = QStringLiteral("station-1");
    e.action = action;
    e.logger = logger;
    e.detail = detail;
    return e;
}

class AuditTrailTest : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        if (GetParam() == Backend::Postgres) {
            QString why;
            ASSERT_TRUE(pgtest::Running(why)) << why.toStdString();
        }
        address = NewAddress();
    }

    ArchiveAddress NewAddress()
    {
        if (GetParam() == Backend::Postgres)
            return pgtest::NewDatabase();
        ArchiveAddress a;
        a.path = dir.path(QStringLiteral("archive-%1.sqlite").arg(++files));
        return a;
    }

    bool Open(CArchive& archive, const ArchiveAddress& a)
    {
        QString error;
        const bool ok = archive.Open(a, error);
        EXPECT_TRUE(ok) << error.toStdString();
        return ok;
    }

    void Append(CArchive& archive, std::vector<AuditEntry> entries)
    {
        QString error;
        EXPECT_TRUE(archive.AppendAudit(entries, error)) << error.toStdString();
    }

    std::vector<AuditEntry> List(CArchive& archive, const AuditFilter& filter = {})
    {
        std::vector<AuditEntry> entries;
        QString error;
        EXPECT_TRUE(archive.ListAudit(filter, entries, error)) << error.toStdString();
        return entries;
    }

    AuditVerdict Verify(CArchive& archive)
    {
        AuditVerdict verdict;
        QString error;
        EXPECT_TRUE(archive.VerifyAudit(verdict, error)) << error.toStdString();
        return verdict;
    }

    // Runs one statement on the archive past the program's code.
    void Raw(const ArchiveAddress& a, const QString& sql)
    {
        EXPECT_EQ(RunRawSql(a, {sql}), std::vector<bool>{true}) << sql.toStdString();
    }

    TempDir dir;
    ArchiveAddress address;
    int files = 0;
};

TEST_P(AuditTrailTest, EachEntryHashesItsFieldsAndLinksToTheOneBefore)
{
    CAuditRecorder recorder(AddressText(address), dir.path("queue.jsonl"));
    const struct {
        AuditEvent event;
        const char* detail; // as stored: compact, keys sorted
    } events[] = {
        {{"download", "UTH40000004", QJsonObject{{"samples", 144}, {"file", "/m/a.tavo"}, {"type", 4}}},
         R"({"file":"/m/a.tavo","samples":144,"type":4})"},
        {{"start", "UTH40000004", QJsonObject{{"temp_low", -2.5}, {"description", "Kühlraum \"3\""}}},
         R"({"description":"Kühlraum \"3\"","temp_low":-2.5})"},
        {{"archive-import", "", QJsonObject{}}, "{}"},
    };
    for (const auto& e : events) {
        QString why;
        EXPECT_TRUE(recorder.Append(e.event, why)) << why.toStdString();
        EXPECT_TRUE(why.isEmpty()) << why.toStdString();
    }
    CArchive archive;
    ASSERT_TRUE(Open(archive, address));
    const std::vector<AuditEntry> entries = List(archive);
    ASSERT_EQ(entries.size(), std::size(events));
    const QRegularExpression utc(QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ$"));
    QString prev(64, '0');
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const AuditEntry& e = entries[i];
        SCOPED_TRACE(e.action.toStdString());
        EXPECT_EQ(e.seq, qint64(i + 1));
        EXPECT_TRUE(utc.match(e.time).hasMatch()) << e.time.toStdString();
        EXPECT_LE(std::abs(QDateTime::fromString(e.time, Qt::ISODate).secsTo(QDateTime::currentDateTimeUtc())), 60);
        EXPECT_FALSE(e.user.isEmpty());
        EXPECT_FALSE(e.host.isEmpty());
        EXPECT_EQ(e.action, events[i].event.action);
        EXPECT_EQ(e.logger, events[i].event.logger);
        EXPECT_EQ(e.detail, QString::fromUtf8(events[i].detail));
        EXPECT_EQ(e.prev, prev);
        EXPECT_EQ(e.hash, ExpectedHash(prev, e.seq, e.time, e.user, e.host, e.action, e.logger, e.detail));
        prev = e.hash;
    }
    const AuditVerdict verdict = Verify(archive);
    EXPECT_TRUE(verdict.intact) << verdict.problem.toStdString();
    EXPECT_EQ(verdict.entries, 3);
}

TEST_P(AuditTrailTest, RowsChangedInTheDatabaseFailTheCheckAtTheFirstBadEntry)
{
    // Each case works on a trail of five entries of its own.
    const auto forged = [](AuditEntry e, qint64 seq, const QString& prev, const QString& detail) {
        e.seq = seq;
        e.prev = prev;
        e.detail = detail;
        e.hash = ExpectedHash(e);
        return e;
    };
    const auto values = [](const AuditEntry& e) {
        return QStringLiteral("(%1, '%2', '%3', '%4', '%5', '%6', '%7', '%8', '%9')")
            .arg(e.seq)
            .arg(e.time, e.user, e.host, e.action, e.logger, e.detail, e.prev, e.hash);
    };
    const struct {
        const char* name;
        std::function<QStringList(const std::vector<AuditEntry>&)> tamper;
        qint64 seq;
        const char* problem;
    } cases[] = {
        {"an edited detail",
         [](const auto&) { return QStringList{"UPDATE audit_trail SET detail = '{\"samples\":14}' WHERE seq = 3"}; }, 3,
         "entry 3: its hash does not match its contents"},
        {"an edited user", [](const auto&) { return QStringList{"UPDATE audit_trail SET os_user = 'boss' WHERE seq = 5"}; },
         5, "entry 5: its hash does not match its contents"},
        {"an edited entry given a fitting hash",
         [&](const auto& t) {
             const AuditEntry e = forged(t[2], 3, t[2].prev, "{\"samples\":14}");
             return QStringList{QStringLiteral("UPDATE audit_trail SET detail = '%1', hash = '%2' WHERE seq = 3")
                                    .arg(e.detail, e.hash)};
         },
         4, "entry 4: its link to entry 3 does not match"},
        {"a deleted entry", [](const auto&) { return QStringList{"DELETE FROM audit_trail WHERE seq = 2"}; }, 2,
         "entry 2 is missing"},
        {"two deleted entries", [](const auto&) { return QStringList{"DELETE FROM audit_trail WHERE seq IN (2, 3)"}; }, 2,
         "entries 2..3 are missing"},
        {"the first entry deleted", [](const auto&) { return QStringList{"DELETE FROM audit_trail WHERE seq = 1"}; }, 1,
         "entry 1 is missing"},
        {"an entry added with a made-up hash",
         [&](const auto& t) {
             AuditEntry e = forged(t[4], 6, t[4].hash, "{}");
             e.hash = QString(64, 'a');
             return QStringList{QStringLiteral("INSERT INTO audit_trail VALUES ") + values(e)};
         },
         6, "entry 6: its hash does not match its contents"},
        {"an old entry added again with a fitting hash",
         [&](const auto& t) { return QStringList{QStringLiteral("INSERT INTO audit_trail VALUES ") + values(forged(t[1], 6, t[1].prev, t[1].detail))}; },
         6, "entry 6: its link to entry 5 does not match"},
        {"an entry slipped in before the first",
         [&](const auto& t) { return QStringList{QStringLiteral("INSERT INTO audit_trail VALUES ") + values(forged(t[0], 0, t[0].prev, "{}"))}; },
         0, "entry 0 is out of sequence (expected 1)"},
        {"the first entry relinked",
         [&](const auto& t) {
             const AuditEntry e = forged(t[0], 1, QString(64, 'f'), t[0].detail);
             return QStringList{QStringLiteral("UPDATE audit_trail SET prev = '%1', hash = '%2' WHERE seq = 1").arg(e.prev, e.hash)};
         },
         1, "entry 1: its link to the start of the trail does not match"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ArchiveAddress a = NewAddress();
        CArchive archive;
        ASSERT_TRUE(Open(archive, a));
        for (int i = 1; i <= 5; ++i)
            Append(archive, {Entry("download", "UT300000003", QStringLiteral("2026-06-0%1T10:00:00Z").arg(i),
                                   QStringLiteral("{\"samples\":%1}").arg(i * 10))});
        const std::vector<AuditEntry> trail = List(archive);
        ASSERT_EQ(trail.size(), 5u);
        ASSERT_TRUE(Verify(archive).intact);
        for (const QString& sql : c.tamper(trail))
            Raw(a, sql);
        const AuditVerdict verdict = Verify(archive);
        EXPECT_FALSE(verdict.intact);
        EXPECT_EQ(verdict.seq, c.seq);
        EXPECT_EQ(verdict.problem.toStdString(), c.problem);
    }
}

TEST_P(AuditTrailTest, TwoStationsAppendingAtOnceKeepOneChain)
{
    {
        CArchive made;
        ASSERT_TRUE(Open(made, address));
    }
    constexpr int kEach = 40;
    std::atomic<int> ready{0};
    const auto station = [&](const QString& host) {
        CArchive archive;
        QString error;
        if (!archive.Open(address, error)) {
            ADD_FAILURE() << error.toStdString();
            return;
        }
        ++ready;
        while (ready < 2)
            std::this_thread::yield();
        for (int i = 0; i < kEach; ++i) {
            std::vector<AuditEntry> one{Entry("stop", host, QStringLiteral("2026-06-01T10:00:00Z"))};
            one[0].host = host;
            EXPECT_TRUE(archive.AppendAudit(one, error)) << error.toStdString();
        }
    };
    std::thread a(station, QStringLiteral("station-a"));
    std::thread b(station, QStringLiteral("station-b"));
    a.join();
    b.join();
    CArchive archive;
    ASSERT_TRUE(Open(archive, address));
    const AuditVerdict verdict = Verify(archive);
    EXPECT_TRUE(verdict.intact) << verdict.problem.toStdString();
    EXPECT_EQ(verdict.entries, 2 * kEach);
    int fromA = 0;
    for (const AuditEntry& e : List(archive))
        fromA += e.host == QLatin1String("station-a");
    EXPECT_EQ(fromA, kEach);
}

TEST_P(AuditTrailTest, AnArchiveThatCannotBeWrittenQueuesEntriesUntilItCan)
{
    // The archive is out of reach: a SQLite file below a plain file, a
    // PostgreSQL database not made yet. Mending makes it reachable.
    ArchiveAddress out = address;
    std::function<void()> mend;
    if (GetParam() == Backend::Sqlite) {
        QFile blocker(dir.path("blocked"));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        out.path = dir.path("blocked/archive.sqlite");
        mend = [this] { QFile::remove(dir.path("blocked")); };
    } else {
        out.database = QStringLiteral("later_%1").arg(address.database);
        mend = [out] { pgtest::Exec(QStringLiteral("postgres"), QStringLiteral("CREATE DATABASE %1").arg(out.database)); };
    }
    const QString queuePath = dir.path("state/audit-queue.jsonl");
    CAuditRecorder recorder(AddressText(out), queuePath);
    QStringList shown;
    recorder.OnFailure([&shown](const QString& why) { shown << why; });
    recorder.Record({"download", "UT300000003", {{"samples", 50}}});
    recorder.Record({"stop", "UT300000003", {{"result", "done"}}});
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown[0].startsWith("not recorded in the audit trail: ")) << shown[0].toStdString();
    EXPECT_TRUE(shown[0].endsWith(QStringLiteral("; kept in %1 until the archive can be written").arg(queuePath)))
        << shown[0].toStdString();
    std::vector<AuditEntry> waiting;
    QString error;
    ASSERT_TRUE(CAuditQueue(queuePath).Read(waiting, error)) << error.toStdString();
    ASSERT_EQ(waiting.size(), 2u);
    EXPECT_EQ(waiting[0].action, "download");
    EXPECT_EQ(waiting[0].detail, R"({"samples":50})");

    mend();
    recorder.Record({"save", "UT300000003", {{"kind", "pdf"}}});
    EXPECT_EQ(shown.size(), 2) << shown.last().toStdString();
    EXPECT_FALSE(QFile::exists(queuePath));
    CArchive archive;
    ASSERT_TRUE(Open(archive, out));
    const std::vector<AuditEntry> entries = List(archive);
    ASSERT_EQ(entries.size(), 3u);
    const char* const order[] = {"download", "stop", "save"};
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(entries[i].action, order[i]);
    // The queued entries keep the time and place they were made.
    EXPECT_EQ(entries[0].time, waiting[0].time);
    EXPECT_EQ(entries[1].time, waiting[1].time);
    EXPECT_EQ(entries[1].user, waiting[1].user);
    EXPECT_TRUE(Verify(archive).intact);
}

TEST_P(AuditTrailTest, AnArchiveMadeBeforeTheTrailGainsItAndKeepsItsMissions)
{
    const QString file = dir.path("m.tavo");
    ASSERT_TRUE(WriteMission(file, {"UT300000003", 2, true}));
    {
        CArchive archive;
        ASSERT_TRUE(Open(archive, address));
        ASSERT_EQ(archive.Import(file).outcome, ImportResult::Indexed);
    }
    Raw(address, "DROP TABLE audit_trail");
    Raw(address, "UPDATE archive_schema SET version = 1");
    CArchive archive;
    ASSERT_TRUE(Open(archive, address));
    Append(archive, {Entry("archive-import", "UT300000003", "2026-06-02T10:00:00Z")});
    EXPECT_EQ(List(archive).size(), 1u);
    std::vector<MissionRow> rows;
    QString error;
    ASSERT_TRUE(archive.List({}, rows, error)) << error.toStdString();
    EXPECT_EQ(rows.size(), 1u);
}

TEST_P(AuditTrailTest, ALoggersOrAMissionsEntriesAreListedOldestFirst)
{
    CArchive archive;
    ASSERT_TRUE(Open(archive, address));
    Append(archive, {Entry("start", "UT300000003", "2026-06-01T08:00:00Z"),
                     Entry("start", "UTH40000004", "2026-06-01T09:00:00Z"),
                     Entry("download", "UT300000003", "2026-06-03T16:00:00Z"),
                     Entry("save", "UT300000003", "2026-06-03T16:05:00Z"),
                     Entry("archive-import", "", "2026-06-04T10:00:00Z")});
    const auto utc = [](int day, int hour, int minute = 0) {
        return QDateTime(QDate(2026, 6, day), QTime(hour, minute), Qt::UTC).toSecsSinceEpoch();
    };
    const struct {
        const char* name;
        AuditFilter filter;
        std::vector<qint64> seqs;
    } cases[] = {
        {"all", {}, {1, 2, 3, 4, 5}},
        {"one logger", {"UT300000003", {}, {}}, {1, 3, 4}},
        {"a mission: its logger from its start to its download", {"UT300000003", utc(1, 8), utc(3, 16)}, {1, 3}},
        {"from a time, both ends included", {{}, utc(3, 16, 5), {}}, {4, 5}},
        {"up to a time", {{}, {}, utc(1, 8, 59)}, {1}},
        {"no such logger", {"UT300000099", {}, {}}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<qint64> seqs;
        for (const AuditEntry& e : List(archive, c.filter))
            seqs.push_back(e.seq);
        EXPECT_EQ(seqs, c.seqs);
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, AuditTrailTest, ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         [](const ::testing::TestParamInfo<Backend>& info) {
                             return info.param == Backend::Sqlite ? "Sqlite" : "Postgres";
                         });

// The grants the README gives a station's role for the trail.
TEST(AuditTrailPostgres, AStationRoleWithSelectAndInsertAppendsButCannotChangeTheTrail)
{
    QString why;
    ASSERT_TRUE(pgtest::Running(why)) << why.toStdString();
    const ArchiveAddress owner = pgtest::NewDatabase();
    {
        CArchive archive;
        ASSERT_TRUE(archive.Open(owner, why)) << why.toStdString();
    }
    pgtest::Exec(QStringLiteral("postgres"), QStringLiteral("DO $$ BEGIN CREATE ROLE clerk LOGIN; "
                                                            "EXCEPTION WHEN duplicate_object THEN NULL; END $$"));
    ASSERT_TRUE(pgtest::Exec(owner.database, QStringLiteral("GRANT SELECT, INSERT ON audit_trail, archive_schema TO clerk")));
    ArchiveAddress clerk = owner;
    clerk.user = QStringLiteral("clerk");
    TempDir dir;
    CAuditRecorder recorder(AddressText(clerk), dir.path("queue.jsonl"));
    for (const char* action : {"start", "stop"}) {
        EXPECT_TRUE(recorder.Append({action, "UT300000003", {}}, why)) << why.toStdString();
    }
    EXPECT_EQ(RunRawSql(clerk, {"UPDATE audit_trail SET os_user = 'x'", "DELETE FROM audit_trail"}),
              (std::vector<bool>{false, false}));
    CArchive archive;
    ASSERT_TRUE(archive.Open(owner, why)) << why.toStdString();
    AuditVerdict verdict;
    ASSERT_TRUE(archive.VerifyAudit(verdict, why)) << why.toStdString();
    EXPECT_TRUE(verdict.intact);
    EXPECT_EQ(verdict.entries, 2);
}

} // namespace
