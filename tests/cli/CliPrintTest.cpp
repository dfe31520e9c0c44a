// halvern-th-cli print: pages into PDF files, its argument rules, failed writes.
#include "CliRun.h"
#include "FakePrintService.h"
#include "support/PdfTools.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

const QString kSample = QStringLiteral(HALVERN_SAMPLES "/mission.tavo");

QString S(const char* text)
{
    return QString::fromUtf8(text);
}

class CliPrint : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (Cli({S("print"), S("--help")}).code != 0)
            GTEST_SKIP() << "built without the GUI libraries: no print command";
    }
    TempDir m_dir;
};

TEST_F(CliPrint, PagesOfEachKindIntoAPdfFile)
{
    struct Case {
        QStringList args;
        int pages;
        bool landscape;
        const char* text; // on the last page
    } const cases[] = {
        {{}, 1, true, "1/1"},
        {{S("--curve-pages"), S("3")}, 3, true, "3/3"},
        // 336 samples: a summary page and six table pages, the last of 36 rows.
        {{S("--text"), S("--unit"), S("C")}, 7, false, "336"},
        // From between two samples: the sample before it is the first.
        {{S("--text"), S("--from"), S("2026-06-15 08:20"), S("--to"), S("2026-06-15 09:00")}, 2, false, "2026-6-15 08:15"},
    };
    for (const Case& c : cases) {
        const QString out = m_dir.path(S("p.pdf"));
        QFile::remove(out);
        const CliRun run = Cli(QStringList{S("print"), kSample, S("--output"), out} + c.args);
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        EXPECT_EQ(PdfPages(out), c.pages);
        const QString info = RunTool(S("pdfinfo"), {out}).out;
        EXPECT_TRUE(info.contains(QRegularExpression(S("Title: +UTH26061501")))) << info.toStdString();
        const auto m = QRegularExpression(S("Page size: +([0-9.]+) x ([0-9.]+)")).match(info);
        ASSERT_TRUE(m.hasMatch());
        EXPECT_EQ(m.captured(1).toDouble() > m.captured(2).toDouble(), c.landscape);
        const QStringList pages = PdfText(out).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        ASSERT_EQ(pages.size(), c.pages);
        EXPECT_TRUE(pages.last().contains(S(c.text))) << c.text;
    }
}

TEST_F(CliPrint, WrongArgumentsExit2)
{
    const QString out = m_dir.path(S("x.pdf"));
    struct Case {
        QStringList args;
        const char* says;
    } const cases[] = {
        {{S("--from"), S("2026-06-18 10:00"), S("--to"), S("2026-06-17 10:00")}, "The start time is after the end time."},
        {{S("--curve-pages"), S("0")}, "1 to 99"},
        {{S("--curve-pages"), S("100")}, "1 to 99"},
        {{S("--curve-pages"), S("2"), S("--text")}, "give one"},
        {{S("--printer"), S("p"), S("--output"), out}, "give one"},
        {{S("--unit"), S("K")}, "C or F"},
    };
    for (const Case& c : cases) {
        QStringList args{S("print"), kSample};
        if (!c.args.contains(S("--printer")))
            args << S("--output") << out;
        const CliRun run = Cli(args + c.args);
        EXPECT_EQ(run.code, 2) << c.says;
        EXPECT_TRUE(run.err.contains(S(c.says))) << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(out));
    }
    const CliRun missing = Cli({S("print"), m_dir.path(S("none.tavo")), S("--output"), out});
    EXPECT_EQ(missing.code, 1);
}

// A printer that cannot be found: the print service is stopped (nothing
// listens where CUPS_SERVER points), or it runs and knows no such printer.
TEST_F(CliPrint, AMissingPrinterSaysWhetherTheServiceOrThePrinterIsMissing)
{
    const RefusingPort stopped;
    const FakePrintService running;
    ASSERT_TRUE(stopped.Bound());
    ASSERT_TRUE(running.Listening());
    const QString unreachable = S("halvern-th-cli print: the print service cannot be reached at %1: start it, "
                                  "or give --output OUT.pdf").arg(stopped.Address());
    struct Case {
        QString server;
        QStringList args;
        QString says;
    } const cases[] = {
        {stopped.Address(), {S("--printer"), S("PDF")}, unreachable},
        {stopped.Address(), {}, unreachable},
        {running.Address(), {S("--printer"), S("PDF")}, S("halvern-th-cli print: no printer named 'PDF'")},
        {running.Address(), {}, S("halvern-th-cli print: no printer found: give --printer NAME or --output OUT.pdf")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.server.toStdString() + " " + c.args.join(' ').toStdString());
        const CliRun run = Cli(QStringList{S("print"), kSample} + c.args, 0, [&](QProcess& p) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(S("CUPS_SERVER"), c.server);
            env.remove(S("PRINTER"));
            env.remove(S("LPDEST"));
            p.setProcessEnvironment(env);
        });
        EXPECT_EQ(run.code, 1);
        EXPECT_EQ(ErrorLines(run), QStringList{c.says}) << run.err.toStdString();
    }
}

TEST_F(CliPrint, FailedWriteLeavesNoFileAndKeepsTheEarlierOne)
{
    const QString out = m_dir.path(S("report.pdf"));
    {
        QFile earlier(out);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier");
    }
    const CliRun run = Cli({S("print"), kSample, S("--text"), S("--output"), out}, 4096);
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.err.contains(S("report.pdf: file too large"))) << run.err.toStdString();
    QFile earlier(out);
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), QByteArray("earlier"));
    EXPECT_EQ(QDir(m_dir.root()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

} // namespace
