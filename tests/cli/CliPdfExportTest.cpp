// halvern-th-cli export --pdf: the PDF report of the whole record or of a
// range, read back by poppler with every row on its page.
#include "cli/CliRun.h"
#include "support/PdfTools.h"
#include "support/TempDir.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

const QString kSample = QStringLiteral(HALVERN_SAMPLES "/mission.tavo");

bool HasRow(const QString& page, int number, const QString& time)
{
    return page.contains(QRegularExpression(QStringLiteral("(^|\\n)%1 +%2 ").arg(number).arg(time)));
}

TEST(CliPdfExport, TheReportHoldsTheRecordOrTheRangeAsked)
{
    struct Case {
        QStringList range;
        int pages;   // 14 rows on page 1, 38 on each later page
        int lastRow;
        const char* firstTime;
        const char* lastTime;
    } const cases[] = {
        {{}, 10, 336, "2026-06-15 08:00", "2026-06-18 19:45"},
        {{"--from", "2026-06-16 10:00", "--to", "2026-06-16T12:00"}, 1, 9, "2026-06-16 10:00", "2026-06-16 12:00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pages);
        TempDir dir;
        const QString pdf = dir.path(QStringLiteral("report.pdf"));
        const CliRun r = Cli(QStringList{"export", kSample, "--unit", "C", "--pdf", pdf} + c.range);
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_EQ(QpdfCheck(pdf), 0);
        const QStringList pages = PdfText(pdf).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        ASSERT_EQ(pages.size(), c.pages);
        EXPECT_TRUE(HasRow(pages.first(), 1, QString::fromLatin1(c.firstTime)));
        EXPECT_TRUE(HasRow(pages.last(), c.lastRow, QString::fromLatin1(c.lastTime)));
        EXPECT_FALSE(HasRow(pages.last(), c.lastRow + 1, QStringLiteral("\\S+ \\S+")));
    }
}

} // namespace
