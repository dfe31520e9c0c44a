// halvern-th-cli info / samples / export, run as a separate program on the
// bundled sample mission and on damaged copies of it.
#include "cli/CliRun.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

const QString kSample = QStringLiteral(HALVERN_SAMPLES "/mission.tavo");

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

const char kSummaryC[] =
    "Serial Number:\tUTH26061501\n"
    "Start Time:\t2026-6-15 08:00\n"
    "Stop Time:\t2026-6-18 19:45\n"
    "Sampling Interval:\t00:15:00\n"
    "Quantity of Data:\t336\n"
    "Max Temp.:\t11.52\u00B0C\n"
    "Min Temp.:\t4.10\u00B0C\n"
    "Avg Temp.:\t5.02\u00B0C\n"
    "Upper Limit Temp.:\t8.00\u00B0C\n"
    "Lower Limit Temp.:\t2.00\u00B0C\n"
    "Max Humi.:\t81.81%RH\n"
    "Min Humi.:\t49.08%RH\n"
    "Avg Humi.:\t54.57%RH\n"
    "Upper Limit Humi.:\t70.00%RH\n"
    "Lower Limit Humi.:\t30.00%RH\n"
    "Description:\tCold room 2, vaccine shelf B\n"
    "Mean Kinetic Temp.:\t5.07\u00B0C\n";

TEST(CliFile, InfoPrintsTheSummaryRows)
{
    const CliRun c = Cli({QStringLiteral("info"), kSample, QStringLiteral("--unit"), QStringLiteral("C")});
    EXPECT_EQ(c.code, 0) << c.err.toStdString();
    EXPECT_EQ(c.out, QString::fromUtf8(kSummaryC));
    const CliRun f = Cli({QStringLiteral("info"), kSample});
    EXPECT_EQ(f.code, 0);
    EXPECT_TRUE(f.out.contains(QString::fromUtf8("Max Temp.:\t52.74\u00B0F\n")));
    EXPECT_TRUE(f.out.contains(QString::fromUtf8("Upper Limit Temp.:\t46.40\u00B0F\n")));
}

TEST(CliFile, SamplesPrintsTheDataListCells)
{
    const CliRun c = Cli({QStringLiteral("samples"), kSample});
    ASSERT_EQ(c.code, 0) << c.err.toStdString();
    const QStringList lines = c.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 336);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("1\t2026-6-15 08:00\t")));
    EXPECT_EQ(lines[125], QString::fromUtf8("126\t2026-6-16 15:15\t52.74\u00B0F*\t81.81%RH*"));
    EXPECT_EQ(lines[127], QString::fromUtf8("128\t2026-6-16 15:45\t46.20\u00B0F\t68.05%RH"));
    EXPECT_TRUE(lines[335].startsWith(QStringLiteral("336\t2026-6-18 19:45\t")));
}

TEST(CliFile, ExportWritesTheDataFileAndCsv)
{
    TempDir dir;
    const QString tavo = dir.path("copy.tavo");
    const QString csv = dir.path("copy.csv");
    const CliRun c = Cli({QStringLiteral("export"), kSample, QStringLiteral("--tavo"), tavo, QStringLiteral("--csv"), csv,
                       QStringLiteral("--unit"), QStringLiteral("C")});
    ASSERT_EQ(c.code, 0) << c.err.toStdString();
    EXPECT_TRUE(c.err.isEmpty());
    EXPECT_EQ(ReadAll(tavo).size(), ReadAll(kSample).size());
    EXPECT_EQ(Cli({QStringLiteral("info"), tavo, QStringLiteral("--unit=C")}).out, QString::fromUtf8(kSummaryC));

    const QByteArray text = ReadAll(csv);
    const QList<QByteArray> rows = text.split('\n');
    ASSERT_EQ(rows.size(), 338); // header, 336 rows, nothing after the last CRLF
    EXPECT_EQ(rows[0], QByteArray("\xEF\xBB\xBF\"Num\",\"RecordTime\",\"Temperature\",\"Humidity\"\r"));
    EXPECT_EQ(rows[126], QByteArray("\"126\",\"2026-6-16 15:15\",\"11.52\xC2\xB0" "C*\",\"81.81%RH*\"\r"));
    EXPECT_TRUE(rows[337].isEmpty());
    EXPECT_TRUE(text.endsWith("\r\n"));
}

TEST(CliFile, ExportKeepsTheSelectedRangeMarker)
{
    TempDir dir;
    QByteArray area = ReadAll(kSample);
    area.replace(area.size() - 4, 4, QByteArray("\x02\x00\x01\x07", 4));
    WriteAll(dir.path("area.tavo"), area);
    ASSERT_EQ(Cli({QStringLiteral("export"), dir.path("area.tavo"), QStringLiteral("--tavo"), dir.path("out.tavo")}).code, 0);
    EXPECT_EQ(ReadAll(dir.path("out.tavo")).right(4), QByteArray("\x02\x00\x01\x07", 4));
}

TEST(CliFile, UnreadableFilesFailWithTheOpenMessageAndTheirCause)
{
    TempDir dir;
    const QByteArray good = ReadAll(kSample);
    QByteArray damaged = good;
    damaged[200] = static_cast<char>(damaged[200] ^ 0x08); // a sample character turns into something else
    WriteAll(dir.path("bad.tavo"), damaged);
    WriteAll(dir.path("short.tavo"), good.left(76));
    WriteAll(dir.path("long.tavo"), good.left(good.size() - 64) + "0"); // one digit more, no description
    ASSERT_TRUE(QDir(dir.root()).mkdir(QStringLiteral("folder.tavo")));
    const struct {
        const char* name;
        const char* cause;
    } cases[] = {
        {"bad.tavo", "damaged: a character that is not part of a number"},
        {"short.tavo", "damaged: shorter than the smallest data file"},
        {"long.tavo", "damaged: its size does not match its sample count"},
        {"missing.tavo", "no such file"},
        {"folder.tavo", "is a directory"},
    };
    for (const auto& c : cases) {
        for (const char* command : {"info", "samples", "export"}) {
            SCOPED_TRACE(std::string(command) + " " + c.name);
            QStringList args{QString::fromLatin1(command), dir.path(QString::fromLatin1(c.name))};
            if (QByteArray(command) == "export")
                args << QStringLiteral("--csv") << dir.path("x.csv");
            const CliRun r = Cli(args);
            EXPECT_EQ(r.code, 1);
            EXPECT_TRUE(r.out.isEmpty());
            EXPECT_EQ(r.err.toStdString(), std::string(" Could not open the file: ") + c.name + ": " + c.cause + "\n");
        }
    }
    EXPECT_FALSE(QFile::exists(dir.path("x.csv")));
}

TEST(CliFile, ExportReportsEachFileItCouldNotWriteWithTheCause)
{
    TempDir dir;
    const CliRun c = Cli({QStringLiteral("export"), kSample, QStringLiteral("--tavo"), dir.path("ok.tavo"),
                       QStringLiteral("--csv"), dir.path("missing/out.csv")});
    EXPECT_EQ(c.code, 1);
    EXPECT_TRUE(c.err.startsWith(QStringLiteral(" Could not save the file: out.csv: "))) << c.err.toStdString();
    EXPECT_EQ(c.err.count('\n'), 1);
    EXPECT_EQ(ReadAll(dir.path("ok.tavo")).size(), 4900);
    const CliRun t = Cli({QStringLiteral("export"), kSample, QStringLiteral("--tavo"), dir.path("missing/out.tavo")});
    EXPECT_EQ(t.code, 1);
    EXPECT_TRUE(t.err.startsWith(QStringLiteral(" Could not save the file: out.tavo: "))) << t.err.toStdString();
}

// SIGXFSZ at its default: the program itself keeps the limit from killing it.
TEST(CliFile, ExportPastAFileSizeLimitFailsWithTheCauseAndLeavesNothing)
{
    TempDir dir;
    const CliRun c = Cli({QStringLiteral("export"), kSample, QStringLiteral("--tavo"), dir.path("a.tavo"),
                          QStringLiteral("--csv"), dir.path("a.csv")}, 3000);
    EXPECT_EQ(c.code, 1);
    EXPECT_EQ(c.err.toStdString(), " Could not save the file: a.tavo: file too large\n"
                                   " Could not save the file: a.csv: file too large\n");
    EXPECT_TRUE(QDir(dir.root()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST(CliFile, HelpAndUsageErrors)
{
    for (const char* command : {"info", "samples", "export"}) {
        const CliRun h = Cli({QString::fromLatin1(command), QStringLiteral("--help")});
        EXPECT_EQ(h.code, 0) << command;
        EXPECT_TRUE(h.out.startsWith(QStringLiteral("usage: halvern-th-cli ") + QString::fromLatin1(command))) << command;
    }
    const struct {
        QStringList args;
        const char* error;
    } cases[] = {
        {{"info"}, "no data file given"},
        {{"info", kSample, "--unit", "K"}, "--unit must be C or F"},
        {{"info", kSample, "--unit"}, "--unit needs a value"},
        {{"samples", kSample, "--bogus"}, "unknown option '--bogus'"},
        {{"samples", kSample, kSample}, "only one data file"},
        {{"info", kSample, "--csv", "x.csv"}, "unknown option '--csv'"},
        {{"export", kSample}, "nothing to write"},
    };
    for (const auto& c : cases) {
        const CliRun r = Cli(c.args);
        EXPECT_EQ(r.code, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromLatin1(c.error))) << r.err.toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

} // namespace
