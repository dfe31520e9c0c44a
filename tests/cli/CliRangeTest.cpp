// halvern-th-cli info / samples / export with --from and --to: the commands
// work on the range of the sample mission (336 samples every 15 minutes,
// 2026-6-15 08:00 to 2026-6-18 19:45, local time).
#include "cli/CliRun.h"
#include "support/TempDir.h"

#include "datafile/LoggerFile.h"
#include "record/TimeText.h"

#include <QFile>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString kSample = QStringLiteral(HALVERN_SAMPLES "/mission.tavo");

QStringList Lines(const QString& text)
{
    return text.split('\n', Qt::SkipEmptyParts);
}

TEST(CliRange, CommandsWorkOnTheSamplesOfTheRange)
{
    const struct {
        QStringList args;
        int code;
        int lines;          // lines on stdout
        const char* first;  // start of the first one
        const char* last;   // start of the last one
        int timeOvers;      // "Time Over" lines on stderr
        const char* error;  // on stderr when the command fails
    } cases[] = {
        {{"samples", kSample, "--from", "2026-06-16 10:05", "--to", "2026-6-16T12:00:30"},
         0, 8, "1\t2026-6-16 10:15\t", "8\t2026-6-16 12:00\t", 0, nullptr},
        {{"samples", kSample, "--from=2026-06-18T19:00:00"}, 0, 4, "1\t2026-6-18 19:00\t", "4\t2026-6-18 19:45\t", 0, nullptr},
        {{"samples", kSample, "--to", "2026-06-15 08:44:59"}, 0, 3, "1\t2026-6-15 08:00\t", "3\t2026-6-15 08:30\t", 0, nullptr},
        {{"samples", kSample, "--from", "2026-06-16 10:15", "--to", "2026-06-16 10:15"}, 0, 1, "1\t2026-6-16 10:15\t", "1\t", 0, nullptr},
        {{"info", kSample, "--from", "2026-01-01 00:00", "--to", "2026-12-31 23:59"},
         0, 17, "Serial Number:", "Mean Kinetic Temp.:", 2, nullptr},
        {{"samples", kSample, "--from", "2026-06-14 00:00"}, 0, 336, "1\t2026-6-15 08:00\t", "336\t2026-6-18 19:45\t", 1, nullptr},
        {{"samples", kSample, "--from", "2026-06-16 10:05", "--to", "2026-06-16 10:14"}, 1, 0, "", "", 0, "no sample"},
        {{"info", kSample, "--from", "2026-06-17 00:00", "--to", "2026-06-16 00:00"}, 1, 0, "", "", 0, "no sample"},
        {{"export", kSample, "--csv", "/nonexistent/x.csv", "--from", "2027-01-01 00:00"}, 1, 0, "", "", 0, "no sample"},
        {{"samples", kSample, "--from", "2025-01-01 00:00", "--to", "2026-06-01 00:00"}, 1, 0, "", "", 1, "no sample"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CliRun r = Cli(c.args);
        EXPECT_EQ(r.code, c.code) << r.err.toStdString();
        const QStringList out = Lines(r.out);
        ASSERT_EQ(out.size(), c.lines);
        if (c.lines > 0) {
            EXPECT_TRUE(out.first().startsWith(QString::fromUtf8(c.first))) << out.first().toStdString();
            EXPECT_TRUE(out.last().startsWith(QString::fromUtf8(c.last))) << out.last().toStdString();
        }
        EXPECT_EQ(r.err.count(QStringLiteral("Time Over")), c.timeOvers) << r.err.toStdString();
        const int errorLines = c.error ? 1 : 0;
        EXPECT_EQ(r.err.count('\n'), c.timeOvers + errorLines) << r.err.toStdString();
        if (c.error) {
            EXPECT_TRUE(Lines(r.err).last().contains(QString::fromUtf8(c.error))) << r.err.toStdString();
        }
    }
}

// The range's summary: its own count, times and statistics, the settings
// and texts of the whole record.
TEST(CliRange, InfoPrintsTheRowsOfTheRange)
{
    const CliRun r = Cli({"info", kSample, "--unit", "C", "--from", "2026-06-16 10:05", "--to", "2026-06-16 12:00"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty());
    EXPECT_EQ(r.out, QString::fromUtf8("Serial Number:\tUTH26061501\n"
                                       "Start Time:\t2026-6-16 10:15\n"
                                       "Stop Time:\t2026-6-16 12:00\n"
                                       "Sampling Interval:\t00:15:00\n"
                                       "Quantity of Data:\t8\n"
                                       "Max Temp.:\t4.91\u00B0C\n"
                                       "Min Temp.:\t4.49\u00B0C\n"
                                       "Avg Temp.:\t4.70\u00B0C\n"
                                       "Upper Limit Temp.:\t8.00\u00B0C\n"
                                       "Lower Limit Temp.:\t2.00\u00B0C\n"
                                       "Max Humi.:\t54.37%RH\n"
                                       "Min Humi.:\t51.63%RH\n"
                                       "Avg Humi.:\t52.97%RH\n"
                                       "Upper Limit Humi.:\t70.00%RH\n"
                                       "Lower Limit Humi.:\t30.00%RH\n"
                                       "Description:\tCold room 2, vaccine shelf B\n"
                                       "Mean Kinetic Temp.:\t4.70\u00B0C\n"));
}

TEST(CliRange, ExportedRangeReadsBackAsASelectedRange)
{
    TempDir dir;
    const QStringList range{"--from", "2026-06-16 10:05", "--to", "2026-06-16T12:00"};
    const QString tavo = dir.path("range.tavo");
    const QString csv = dir.path("range.csv");
    const CliRun e = Cli(QStringList{"export", kSample, "--tavo", tavo, "--csv", csv} + range);
    ASSERT_EQ(e.code, 0) << e.err.toStdString();

    auto record = std::make_unique<CLoggerRecord>();
    CLoggerFile file(tavo, CLoggerFile::ModeRead);
    ASSERT_TRUE(file.Load(*record, kDefaultDisplay));
    EXPECT_TRUE(file.LoadedArea());
    EXPECT_EQ(record->m_nCount, 8);
    EXPECT_EQ(record->m_tStart, MakeLocalTime(2026, 6, 16, 10, 15));

    const CliRun ranged = Cli(QStringList{"samples", kSample} + range);
    const CliRun saved = Cli({"samples", tavo});
    ASSERT_EQ(saved.code, 0) << saved.err.toStdString();
    EXPECT_EQ(saved.out, ranged.out);
    EXPECT_EQ(Lines(ranged.out).size(), 8);

    QFile text(csv);
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    const QList<QByteArray> rows = text.readAll().split('\n');
    ASSERT_EQ(rows.size(), 10); // header, 8 rows, nothing after the last CRLF
    EXPECT_TRUE(rows[1].startsWith("\"1\",\"2026-6-16 10:15\","));
    EXPECT_TRUE(rows[8].startsWith("\"8\",\"2026-6-16 12:00\","));
}

// A file that has no sample instants cannot give a range.
TEST(CliRange, FilesWithoutSampleInstantsHaveNoRange)
{
    const struct {
        time64 interval;
        int count;
        const char* error;
    } cases[] = {
        {0, 5, "sampling interval is 0"},
        {600, 0, "no samples"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        TempDir dir;
        auto record = std::make_unique<CLoggerRecord>();
        record->m_nType = 3;
        record->m_strValue[ROW_ID] = QStringLiteral("UT123456789");
        record->m_tStart = MakeLocalTime(2026, 6, 15, 8, 0);
        record->m_tStop = record->m_tStart + 3600;
        record->m_tsInterval = c.interval;
        record->SetCount(c.count);
        record->m_nReceived = record->m_nCount;
        CLoggerFile file(dir.path("f.tavo"), CLoggerFile::ModeWrite);
        ASSERT_TRUE(file.Save(*record, false));

        EXPECT_EQ(Cli({"info", dir.path("f.tavo")}).code, 0);
        const CliRun r = Cli({"samples", dir.path("f.tavo"), "--from", "2026-06-15 08:30"});
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_EQ(r.err.count('\n'), 1);
        EXPECT_TRUE(r.err.contains(QString::fromLatin1(c.error))) << r.err.toStdString();
    }
}

TEST(CliRange, BadTimesAreWrongArguments)
{
    const char* const times[] = {
        "2026-06-16",          "2026-06-16 10",       "10:00",
        "2026-13-01 10:00",    "2026-02-29 10:00",    "2026-06-31 10:00",
        "2026-06-16 24:00",    "2026-06-16 10:60",    "2026-06-16 10:00:60",
        "16.06.2026 10:00",    "2026-06-16  10:00",   "2026-06-16 10:00 PM",
        "",
    };
    for (const char* option : {"--from", "--to"}) {
        for (const char* time : times) {
            SCOPED_TRACE(std::string(option) + " '" + time + "'");
            const CliRun r = Cli({"samples", kSample, QString::fromLatin1(option) + '=' + QString::fromLatin1(time)});
            EXPECT_EQ(r.code, 2);
            EXPECT_TRUE(r.out.isEmpty());
            EXPECT_EQ(r.err.count('\n'), 1);
            EXPECT_TRUE(r.err.contains(QStringLiteral("%1 takes a local time").arg(QLatin1String(option))))
                << r.err.toStdString();
        }
    }
}

} // namespace
