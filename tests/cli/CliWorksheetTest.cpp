// halvern-th-cli export --xlsx: the worksheet next to the other outputs,
// of a range, and failures that keep an earlier file.
#include "cli/CliRun.h"
#include "support/TempDir.h"
#include "support/XlsxReader.h"

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

TEST(CliWorksheet, EveryOutputAskedForIsWritten)
{
    TempDir dir;
    const CliRun r = Cli({"export", kSample, "--unit", "C", "--xlsx", dir.path("m.xlsx"), "--csv", dir.path("m.csv"),
                          "--tavo", dir.path("m.tavo")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty());
    XlsxBook book;
    ASSERT_TRUE(book.Load(dir.path("m.xlsx"))) << book.Error().toStdString();
    EXPECT_EQ(book.SheetNames(), (QStringList{"Summary", "Data"}));
    const XlsxSheet& data = *book.Sheet("Data");
    ASSERT_EQ(data.RowCount(), 337);
    // Row 126 of the CSV: "126","2026-6-16 15:15","11.52°C*","81.81%RH*".
    EXPECT_EQ(data.Cell(126, 0)->text, "126");
    EXPECT_EQ(SerialToText(data.Cell(126, 1)->text.toDouble()), "2026-6-16 15:15");
    EXPECT_EQ(data.Cell(126, 2)->text.toDouble(), 11.52);
    EXPECT_EQ(book.NumberFormat(data.Cell(126, 2)->style), "0.00\"\u00B0C\"");
    EXPECT_TRUE(book.RedFont(data.Cell(126, 2)->style));
    EXPECT_EQ(data.Cell(126, 3)->text.toDouble(), 81.81);
    EXPECT_TRUE(book.RedFont(data.Cell(126, 3)->style));
    EXPECT_EQ(book.Sheet("Summary")->Cell(1, 1)->text, "UTH26061501");
    EXPECT_TRUE(ReadAll(dir.path("m.csv")).startsWith("\xEF\xBB\xBF\"Num\""));
    EXPECT_GT(ReadAll(dir.path("m.tavo")).size(), 0);
}

TEST(CliWorksheet, ARangeGivesTheRangeRowsOnly)
{
    TempDir dir;
    const CliRun r = Cli({"export", kSample, "--from", "2026-06-16 10:00", "--to", "2026-06-16T12:00", "--xlsx",
                          dir.path("range.xlsx")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    XlsxBook book;
    ASSERT_TRUE(book.Load(dir.path("range.xlsx")));
    const XlsxSheet& data = *book.Sheet("Data");
    ASSERT_EQ(data.RowCount(), 1 + 9); // 10:00 .. 12:00 every 15 minutes
    EXPECT_EQ(SerialToText(data.Cell(1, 1)->text.toDouble()), "2026-6-16 10:00");
    EXPECT_EQ(SerialToText(data.Cell(9, 1)->text.toDouble()), "2026-6-16 12:00");
    EXPECT_EQ(book.Sheet("Summary")->Cell(5, 1)->text, "9");
}

// The workbook library writes each sheet to a temporary file first and does
// not notice when that write is cut short (the larger limit); with the
// smaller one its packing fails and it prints errors of its own. Either way
// one line says why and the earlier file stays.
TEST(CliWorksheet, AWorksheetCutShortFailsAndKeepsTheEarlierFile)
{
    for (const rlim_t limit : {24000, 1000}) {
        SCOPED_TRACE(limit);
        TempDir dir;
        QFile earlier(dir.path("keep.xlsx"));
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier mission");
        earlier.close();
        QStringList args{"export", kSample, "--xlsx", dir.path("keep.xlsx")};
        if (limit > 1000)
            args << "--csv" << dir.path("m.csv"); // fits: written all the same
        const CliRun r = Cli(args, limit);
        const QString err = WithoutAuditNotes(r.err);
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(err.startsWith(" Could not save the file: keep.xlsx: ")) << r.err.toStdString();
        EXPECT_TRUE(err.contains(limit > 1000 ? "the workbook came out incomplete" : "file too large\n"))
            << r.err.toStdString();
        EXPECT_EQ(err.count('\n'), 1) << r.err.toStdString();
        EXPECT_EQ(ReadAll(dir.path("keep.xlsx")), QByteArray("earlier mission"));
        if (limit > 1000) {
            EXPECT_TRUE(ReadAll(dir.path("m.csv")).endsWith("\r\n"));
        }
        EXPECT_EQ(QDir(dir.root()).entryList(QDir::Files | QDir::Hidden),
                  limit > 1000 ? QStringList({"keep.xlsx", "m.csv"}) : QStringList({"keep.xlsx"}));
    }
}

TEST(CliWorksheet, HelpAndTheMissingOutputNameTheWorksheet)
{
    const CliRun help = Cli({"export", "--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.contains("--xlsx OUT.xlsx")) << help.out.toStdString();
    const CliRun none = Cli({"export", kSample});
    EXPECT_EQ(none.code, 2);
    EXPECT_TRUE(none.err.contains("--tavo OUT.tavo, --csv OUT.csv, --xlsx OUT.xlsx")) << none.err.toStdString();
}

} // namespace
