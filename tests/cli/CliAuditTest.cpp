// halvern-th-cli audit, and the entries the other commands leave in the
// trail: what each records, the chain check's verdicts and exit codes, and
// a command whose archive cannot be written.
#include "CliRun.h"
#include "support/TempDir.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

const QString kSample = QStringLiteral(HALVERN_SAMPLES "/mission.tavo");

QString Sha256(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QString::fromLatin1(QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256).toHex());
}

class CliAudit : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return dir.path(name); }

    // Runs the program with its trail in archive (default: the test's own)
    // and its queue in the test's folder.
    CliRun Run(const QStringList& args, const QString& archive = {}) const
    {
        const QString db = archive.isEmpty() ? Path("archive.sqlite") : archive;
        const QString state = Path("state");
        return Cli(args, 0, [db, state](QProcess& p) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("HALVERN_ARCHIVE_DB", db);
            env.insert("XDG_STATE_HOME", state);
            p.setProcessEnvironment(env);
        });
    }

    std::vector<QJsonObject> Entries(const QStringList& filter = {}) const
    {
        const CliRun run = Run(QStringList{"audit", "list", "--json"} + filter);
        EXPECT_EQ(run.code, 0) << run.err.toStdString();
        std::vector<QJsonObject> entries;
        for (const QString& line : run.out.split('\n', Qt::SkipEmptyParts)) {
            const QJsonDocument doc = QJsonDocument::fromJson(line.toUtf8());
            EXPECT_TRUE(doc.isObject()) << line.toStdString();
            entries.push_back(doc.object());
        }
        return entries;
    }

    TempDir dir;
};

TEST_F(CliAudit, ADownloadIsRecordedWithItsSamplesAndTheFingerprintOfTheFileWritten)
{
    const QString out = Path("d.tavo");
    const CliRun download = Run({"download", "--simulate", "usb:4", "--samples", "60", "-o", out});
    ASSERT_EQ(download.code, 0) << download.err.toStdString();
    const std::vector<QJsonObject> entries = Entries();
    ASSERT_EQ(entries.size(), 1u);
    const QJsonObject e = entries[0];
    EXPECT_EQ(e["seq"].toInt(), 1);
    EXPECT_EQ(e["action"].toString(), "download");
    EXPECT_EQ(e["logger"].toString(), "UTH50040004");
    const QJsonObject detail = e["detail"].toObject();
    EXPECT_EQ(detail["samples"].toInt(), 60);
    EXPECT_EQ(detail["file"].toString(), QFileInfo(out).absoluteFilePath());
    EXPECT_EQ(detail["sha256"].toString(), Sha256(out));
    // The hash a reader computes from the listed fields.
    const QString text = QStringList{e["prev"].toString(), "1", e["time"].toString(), e["user"].toString(),
                                     e["host"].toString(), "download", "UTH50040004",
                                     QString::fromUtf8(QJsonDocument(detail).toJson(QJsonDocument::Compact))}
                             .join('\n');
    EXPECT_EQ(e["hash"].toString(),
              QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toHex()));
    EXPECT_EQ(e["prev"].toString(), QString(64, '0'));
}

TEST_F(CliAudit, ExportsPrintsAndImportsRecordWhatTheyWrote)
{
    const struct {
        QStringList args;
        const char* action;
        QStringList keys; // of the detail besides file and sha256
        QString file;
    } cases[] = {
        {{"export", kSample, "--tavo", Path("e.tavo")}, "export", {"kind", "source"}, Path("e.tavo")},
        {{"export", kSample, "--csv", Path("e.csv")}, "export", {"kind", "source"}, Path("e.csv")},
        {{"print", kSample, "--text", "--output", Path("p.pdf")}, "print", {"kind", "pages"}, Path("p.pdf")},
        {{"archive", "import", kSample, "--archive-db", Path("archive.sqlite")}, "archive-import", {"result"}, kSample},
    };
    for (const auto& c : cases) {
        const CliRun run = Run(c.args);
        ASSERT_EQ(run.code, 0) << c.args.join(' ').toStdString() << ": " << run.err.toStdString();
    }
    const std::vector<QJsonObject> entries = Entries();
    ASSERT_EQ(entries.size(), std::size(cases));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(cases[i].action);
        const QJsonObject detail = entries[i]["detail"].toObject();
        EXPECT_EQ(entries[i]["action"].toString(), cases[i].action);
        EXPECT_EQ(entries[i]["logger"].toString(), "UTH26061501");
        EXPECT_EQ(detail["file"].toString(), QFileInfo(cases[i].file).absoluteFilePath());
        EXPECT_EQ(detail["sha256"].toString(), Sha256(cases[i].file));
        for (const QString& key : cases[i].keys)
            EXPECT_TRUE(detail.contains(key)) << key.toStdString();
    }
    EXPECT_EQ(entries[1]["detail"]["kind"].toString(), "csv");
    EXPECT_EQ(entries[2]["detail"]["kind"].toString(), "text");
    EXPECT_EQ(entries[2]["detail"]["pages"].toInt(), 7);
    EXPECT_EQ(Entries({"--logger", "UT300000003"}).size(), 0u);
    // The times the JSON gives, with their zone, bound the list as well.
    EXPECT_EQ(Entries({"--from", "2000-01-01T00:00:00Z"}).size(), std::size(cases));
    EXPECT_EQ(Entries({"--to", "2000-01-01T08:00:00+08:00"}).size(), 0u);
}

TEST_F(CliAudit, VerifyTellsAnIntactChainFromAChangedOneAndRefusesWhatItCannotRead)
{
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(Run({"export", kSample, "--csv", Path("e.csv")}).code, 0);
    const CliRun intact = Run({"audit", "verify"});
    EXPECT_EQ(intact.code, 0) << intact.err.toStdString();
    EXPECT_EQ(intact.out, "3 entries, chain intact\n");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "edit");
        db.setDatabaseName(Path("archive.sqlite"));
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec("UPDATE audit_trail SET os_user = 'someone else' WHERE seq = 2"));
    }
    QSqlDatabase::removeDatabase("edit");
    const struct {
        QStringList args;
        int code;
        const char* out;
        const char* err;
    } cases[] = {
        {{"audit", "verify"}, 1, "entry 2: its hash does not match its contents; the entry before it is intact\n", ""},
        {{"audit", "verify", "--archive-db", Path("none.sqlite")}, 2, "",
         "halvern-th-cli audit: there is no archive at "},
        {{"audit", "verify", "--json"}, 2, "", "halvern-th-cli audit: --logger, --from, --to and --json belong to list"},
        {{"audit", "check"}, 2, "", "halvern-th-cli audit: give list or verify (try --help)"},
        {{"audit", "list", "--from", "yesterday"}, 2, "", "halvern-th-cli audit: --from takes a local time"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CliRun run = Run(c.args);
        EXPECT_EQ(run.code, c.code) << run.err.toStdString();
        EXPECT_EQ(run.out, c.out);
        if (*c.err)
            EXPECT_TRUE(run.err.startsWith(c.err)) << run.err.toStdString();
        else
            EXPECT_EQ(run.err, "");
    }
    EXPECT_FALSE(QFile::exists(Path("none.sqlite")));
}

TEST_F(CliAudit, ACommandWhoseArchiveCannotBeWrittenStillDoesItsWorkAndItsEntryWaits)
{
    QFile blocker(Path("blocked"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString unreachable = Path("blocked/archive.sqlite");
    const QString queue = Path("state/halvern-th/audit-queue.jsonl");
    const CliRun first = Run({"export", kSample, "--csv", Path("a.csv")}, unreachable);
    EXPECT_EQ(first.code, 0);
    EXPECT_TRUE(QFile::exists(Path("a.csv")));
    EXPECT_EQ(first.err, QStringLiteral("halvern-th-cli export: not recorded in the audit trail: cannot make the "
                                        "archive's folder %1; kept in %2 until the archive can be written\n")
                             .arg(Path("blocked"), queue));
    EXPECT_TRUE(QFile::exists(queue));

    const CliRun second = Run({"export", kSample, "--csv", Path("b.csv")});
    EXPECT_EQ(second.code, 0);
    EXPECT_EQ(second.err, "");
    EXPECT_FALSE(QFile::exists(queue));
    const std::vector<QJsonObject> entries = Entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0]["detail"]["file"].toString(), Path("a.csv"));
    EXPECT_EQ(entries[1]["detail"]["file"].toString(), Path("b.csv"));
    EXPECT_EQ(Run({"audit", "verify"}).out, "2 entries, chain intact\n");
}

} // namespace
