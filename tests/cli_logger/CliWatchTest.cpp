// halvern-th-cli watch: the receiving station run as a separate program
// over virtual loggers.
#include "cli/CliRun.h"
#include "support/FileTree.h"
#include "support/TempDir.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

#include <csignal>

namespace {

QList<QJsonObject> Events(const QString& ndjson)
{
    QList<QJsonObject> events;
    for (const QString& line : ndjson.split('\n', Qt::SkipEmptyParts)) {
        QJsonParseError error{};
        const QJsonDocument doc = QJsonDocument::fromJson(line.toUtf8(), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
        events << doc.object();
    }
    return events;
}

QList<QJsonObject> OfKind(const QList<QJsonObject>& events, const char* kind)
{
    QList<QJsonObject> found;
    for (const QJsonObject& e : events)
        if (e["event"].toString() == QLatin1String(kind))
            found << e;
    return found;
}

int SampleLines(const QString& tavo)
{
    const CliRun s = Cli({"samples", tavo});
    return s.code == 0 ? static_cast<int>(s.out.split('\n', Qt::SkipEmptyParts).size()) : -1;
}

class CliWatch : public ::testing::Test {
protected:
    QStringList Args(const QStringList& more) const
    {
        return QStringList{"watch", "--archive", archive.root(), "--archive-db", index.path("index.sqlite")} + more;
    }

    TempDir archive;
    TempDir index;
};

TEST_F(CliWatch, OnceFilesEveryLoggerWithItsReportsAndIndexesThem)
{
    const CliRun run = Cli(Args({"--once", "--json", "--report", "pdf,xlsx,csv", "--simulate", "usb:4,usb:1,serial:3,serial:6",
                                 "--unpaced"}),
                           0, {}, 60000);
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    const QList<QJsonObject> events = Events(run.out);
    const QList<QJsonObject> archived = OfKind(events, "archived");
    ASSERT_EQ(archived.size(), 4) << run.out.toStdString();
    QStringList ids;
    for (const QJsonObject& e : archived) {
        ids << e["logger"].toString();
        EXPECT_TRUE(e["time"].toString().contains(QRegularExpression("T\\d\\d:\\d\\d:\\d\\d[+-]\\d\\d:\\d\\d$")));
        const QJsonArray files = e["files"].toArray();
        ASSERT_EQ(files.size(), 4);
        const QString tavo = files[0].toString();
        EXPECT_TRUE(tavo.startsWith(archive.path(e["logger"].toString() + "/" + e["logger"].toString() + "_")));
        EXPECT_EQ(SampleLines(tavo), e["samples"].toInt());
        for (const QJsonValue& file : files)
            EXPECT_GT(QFileInfo(file.toString()).size(), 0) << file.toString().toStdString();
    }
    ids.sort();
    ids.removeDuplicates();
    EXPECT_EQ(ids.size(), 4) << "each virtual logger has its own ID";
    EXPECT_EQ(OfKind(events, "attached").size(), 4);
    EXPECT_EQ(OfKind(events, "identified").size(), 4);

    const CliRun list = Cli({"archive", "list", "--archive-db", index.path("index.sqlite")});
    EXPECT_EQ(list.out.split('\n', Qt::SkipEmptyParts).size(), 4) << list.out.toStdString();
}

// The same mission, served by one simulator for both runs, is filed once.
TEST_F(CliWatch, TheSameMissionAgainIsAlreadyArchivedAndNotWritten)
{
    QProcess simulator;
    simulator.start(CliProgram(), {"simulate", "serial:4", "--unpaced"});
    ASSERT_TRUE(simulator.waitForReadyRead(10000));
    const QString port = QString::fromUtf8(simulator.readLine()).trimmed();

    const CliRun first = Cli(Args({"--once", "--json", "--port", port, "--report", "csv"}));
    ASSERT_EQ(first.code, 0) << first.err.toStdString();
    ASSERT_EQ(OfKind(Events(first.out), "archived").size(), 1);
    const QStringList tree = Tree(archive.root());
    const QString tavo = OfKind(Events(first.out), "archived")[0]["files"].toArray()[0].toString();
    const QDateTime written = QFileInfo(tavo).lastModified();

    const CliRun second = Cli(Args({"--once", "--json", "--port", port, "--report", "csv"}));
    EXPECT_EQ(second.code, 0) << second.err.toStdString();
    EXPECT_EQ(OfKind(Events(second.out), "already-archived").size(), 1) << second.out.toStdString();
    EXPECT_TRUE(second.err.contains("already archived"));
    EXPECT_EQ(Tree(archive.root()), tree);
    EXPECT_EQ(QFileInfo(tavo).lastModified(), written);
    simulator.terminate();
    simulator.waitForFinished(5000);
}

TEST_F(CliWatch, AFullDiskFailsEachLoggerAndLeavesNoFile)
{
    const CliRun run = Cli(Args({"--once", "--report", "pdf", "--simulate", "usb:4,serial:3", "--unpaced"}), 8000);
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err.count(QRegularExpression("failed .*too large")), 2) << run.err.toStdString();
    EXPECT_TRUE(Tree(archive.root()).isEmpty()) << Tree(archive.root()).join(' ').toStdString();
}

TEST_F(CliWatch, SigtermMidDownloadExitsCleanlyWithoutAPartialFile)
{
    QProcess watch;
    watch.start(CliProgram(), Args({"--json", "--simulate", "serial:4", "--samples", "3000"}));
    ASSERT_TRUE(watch.waitForStarted(5000));
    QString out;
    while (!out.contains("\"progress\"") && watch.waitForReadyRead(15000))
        out += QString::fromUtf8(watch.readAllStandardOutput());
    ASSERT_TRUE(out.contains("\"progress\"")) << out.toStdString();
    ::kill(static_cast<pid_t>(watch.processId()), SIGTERM);
    ASSERT_TRUE(watch.waitForFinished(15000));
    EXPECT_EQ(watch.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(watch.exitCode(), 0) << watch.readAllStandardError().toStdString();
    EXPECT_TRUE(Tree(archive.root()).isEmpty()) << Tree(archive.root()).join(' ').toStdString();
}

TEST_F(CliWatch, WrongArgumentsExitTwoWithAReason)
{
    struct Case {
        QStringList args;
        const char* says;
    };
    const Case cases[] = {
        {{"watch", "--once"}, "--archive DIR"},
        {Args({"--report", "doc"}), "--report takes pdf, xlsx and csv"},
        {Args({"--samples", "10"}), "go with --simulate"},
        {Args({"--simulate", "usb:4,modem"}), "usb[:TYPE] or serial[:TYPE]"},
    };
    for (const Case& c : cases) {
        const CliRun run = Cli(c.args);
        EXPECT_EQ(run.code, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(c.says)) << run.err.toStdString();
    }
}

} // namespace
