// Failures of the archive's databases: each names its cause, writes
// nothing, and leaves no password in the message.
#include "support/MissionFiles.h"
#include "PgServer.h"
#include "RawSql.h"

#include "archive/Archive.h"
#include "support/TempDir.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

struct ScopedEnv {
    ScopedEnv(const char* name, const QByteArray& value) : name(name), had(qEnvironmentVariableIsSet(name)), old(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~ScopedEnv()
    {
        if (had)
            qputenv(name, old);
        else
            qunsetenv(name);
    }
    const char* name;
    bool had;
    QByteArray old;
};

ArchiveAddress PgAddress(const QString& user, const QString& host, int port, const QString& db)
{
    ArchiveAddress address;
    address.kind = ArchiveAddress::Kind::Postgres;
    address.user = user;
    address.host = host;
    address.port = port;
    address.database = db;
    return address;
}

TEST(ArchivePostgresFaults, ConnectionFailuresNameTheCauseAndNeverThePassword)
{
    QString why;
    ASSERT_TRUE(pgtest::Running(why)) << why.toStdString();
    ASSERT_TRUE(pgtest::Exec(QStringLiteral("postgres"), QStringLiteral("CREATE DATABASE owned_by_pw OWNER pwuser")));
    ArchiveAddress unreachable = PgAddress("postgres", "127.0.0.1", 1, "none");
    unreachable.options << QStringLiteral("connect_timeout=3");
    // The options reach the client: this one asks for a standby server.
    ArchiveAddress standby = PgAddress("postgres", pgtest::SocketFolder(), 0, "postgres");
    standby.options << QStringLiteral("target_session_attrs=read-only");
    const struct {
        const char* name;
        ArchiveAddress address;
        QByteArray password;
        const char* expected; // the start of the message, or "" when the archive opens
    } cases[] = {
        {"unreachable", unreachable, "any-secret", "cannot connect to the archive server postgres@127.0.0.1:1/none: "},
        {"an option the server does not meet", standby, "any-secret", "cannot connect to the archive server postgres@"},
        {"wrong password", PgAddress("pwuser", pgtest::SocketFolder(), 0, "owned_by_pw"), "wrong-horse",
         "the archive server refused the password of pwuser"},
        {"right password", PgAddress("pwuser", pgtest::SocketFolder(), 0, "owned_by_pw"), "right-horse", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ScopedEnv password("PGPASSWORD", c.password);
        CArchive archive;
        QString error;
        const bool opened = archive.Open(c.address, error);
        EXPECT_EQ(opened, *c.expected == '\0') << error.toStdString();
        if (!opened) {
            EXPECT_TRUE(error.startsWith(QLatin1String(c.expected))) << error.toStdString();
        }
        EXPECT_FALSE(error.contains(QString::fromLatin1(c.password)));
    }
}

// The grants the README gives a station's role.
const char* const kStationGrants[] = {
    "GRANT SELECT, INSERT ON mission, archive_schema TO station",
    "GRANT UPDATE (file_path) ON mission TO station",
};

TEST(ArchivePostgresFaults, AStationRoleWithTheLeastGrantsImportsMovesAndListsButCannotDelete)
{
    QString why;
    ASSERT_TRUE(pgtest::Running(why)) << why.toStdString();
    const ArchiveAddress owner = pgtest::NewDatabase();
    {
        CArchive archive;
        ASSERT_TRUE(archive.Open(owner, why)) << why.toStdString();
    }
    pgtest::Exec(QStringLiteral("postgres"), QStringLiteral("CREATE ROLE station LOGIN"));
    for (const char* grant : kStationGrants)
        ASSERT_TRUE(pgtest::Exec(owner.database, QString::fromLatin1(grant)));

    TempDir dir;
    const QString first = dir.path(QStringLiteral("a.tavo"));
    ASSERT_TRUE(WriteMission(first, {"UT300000003", 2, true}));
    ArchiveAddress station = owner;
    station.user = QStringLiteral("station");
    CArchive archive;
    ASSERT_TRUE(archive.Open(station, why)) << why.toStdString();
    EXPECT_EQ(archive.Import(first).outcome, ImportResult::Indexed);
    const QString moved = dir.path(QStringLiteral("b.tavo"));
    ASSERT_TRUE(QFile::rename(first, moved));
    EXPECT_EQ(archive.Import(moved).outcome, ImportResult::Moved);
    std::vector<MissionRow> rows;
    ASSERT_TRUE(archive.List({}, rows, why)) << why.toStdString();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].file, moved);

    EXPECT_EQ(RunRawSql(station, {"DELETE FROM mission", "UPDATE mission SET sha256 = 'x'"}),
              (std::vector<bool>{false, false}));
}

// The server cuts the station's connection between two filings (a restart,
// an idle timeout): the next filing connects again and is indexed; a
// server that stays away fails the filing and leaves the archive closed.
TEST(ArchivePostgresFaults, AFilingAfterTheServerCutTheConnectionConnectsAgain)
{
    QString why;
    ASSERT_TRUE(pgtest::Running(why)) << why.toStdString();
    const ArchiveAddress address = pgtest::NewDatabase();
    TempDir dir;
    const QString first = dir.path(QStringLiteral("a.tavo"));
    const QString second = dir.path(QStringLiteral("b.tavo"));
    ASSERT_TRUE(WriteMission(first, {"UT300000003", 2, true}));
    ASSERT_TRUE(WriteMission(second, {"UT300000004", 2, true}));
    CArchive archive;
    ASSERT_TRUE(archive.Open(address, why)) << why.toStdString();
    EXPECT_EQ(ImportReconnecting(archive, first).outcome, ImportResult::Indexed);

    const QString cut = QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = '%1' "
                                       "AND pid <> pg_backend_pid()")
                            .arg(address.database);
    ASSERT_TRUE(pgtest::Exec(QStringLiteral("postgres"), cut));
    const ImportResult again = ImportReconnecting(archive, second);
    EXPECT_EQ(again.outcome, ImportResult::Indexed) << again.reason.toStdString();
    EXPECT_TRUE(archive.IsOpen());
    std::vector<MissionRow> rows;
    ASSERT_TRUE(archive.List({}, rows, why)) << why.toStdString();
    EXPECT_EQ(rows.size(), 2u);

    // The database takes no connection now: the filing fails, closed.
    ASSERT_TRUE(pgtest::Exec(QStringLiteral("postgres"), cut));
    ASSERT_TRUE(pgtest::Exec(QStringLiteral("postgres"),
                             QStringLiteral("ALTER DATABASE %1 WITH ALLOW_CONNECTIONS false").arg(address.database)));
    const ImportResult refused = ImportReconnecting(archive, first);
    EXPECT_EQ(refused.outcome, ImportResult::Failed);
    EXPECT_FALSE(refused.reason.isEmpty());
    EXPECT_FALSE(archive.IsOpen());
    pgtest::Exec(QStringLiteral("postgres"),
                 QStringLiteral("ALTER DATABASE %1 WITH ALLOW_CONNECTIONS true").arg(address.database));
}

TEST(ArchiveSqliteFaults, ALockedArchiveFailsTheImportAndWritesNothing)
{
    TempDir dir;
    ArchiveAddress address;
    address.path = dir.path(QStringLiteral("archive.sqlite"));
    const QString file = dir.path(QStringLiteral("m.tavo"));
    ASSERT_TRUE(WriteMission(file, {"UT300000003", 2, true}));
    QString error;
    {
        CArchive made;
        ASSERT_TRUE(made.Open(address, error)) << error.toStdString();
    }
    const QString name = QStringLiteral("other-writer");
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        other.setDatabaseName(address.path);
        ASSERT_TRUE(other.open());
        QSqlQuery lock(other);
        ASSERT_TRUE(lock.exec(QStringLiteral("BEGIN IMMEDIATE")));

        CArchive archive;
        archive.SetBusyTimeout(100);
        ASSERT_TRUE(archive.Open(address, error)) << error.toStdString();
        const ImportResult result = archive.Import(file);
        EXPECT_EQ(result.outcome, ImportResult::Failed);
        EXPECT_EQ(result.reason, QStringLiteral("the archive %1 is locked by another program; try again when it is done")
                                     .arg(address.path));
        lock.exec(QStringLiteral("ROLLBACK"));
        std::vector<MissionRow> rows;
        ASSERT_TRUE(archive.List({}, rows, error));
        EXPECT_TRUE(rows.empty());
        EXPECT_EQ(archive.Import(file).outcome, ImportResult::Indexed);
    }
    QSqlDatabase::removeDatabase(name);
}

TEST(ArchiveSqliteFaults, AFileThatIsNoDatabaseIsNotAnArchive)
{
    TempDir dir;
    ArchiveAddress address;
    address.path = dir.path(QStringLiteral("notes.txt"));
    QFile f(address.path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'n'));
    f.close();
    CArchive archive;
    QString error;
    EXPECT_FALSE(archive.Open(address, error));
    EXPECT_EQ(error, address.path + QStringLiteral(" is not an archive (not a SQLite database)"));
}

} // namespace
