// The PDF report read back by poppler: every text stays inside its cell of
// the summary grid and the sample table, in both languages.
#include "support/MissionRecord.h"
#include "support/PdfTools.h"
#include "support/ScopedTz.h"
#include "support/TempDir.h"

#include "base/TextTable.h"
#include "record/Units.h"
#include "report/pdf/PdfReport.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

constexpr double kPageHeight = 900;

struct Box {
    QString text;
    double left, top, right, bottom; // points, y growing downwards
};

struct VerticalLine {
    double x, top, bottom;
};

// The words of each page as poppler places them.
QVector<QVector<Box>> Words(const QString& pdf)
{
    const QString xml = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}).out;
    QVector<QVector<Box>> pages;
    static const QRegularExpression word(QStringLiteral(
        "<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    for (auto it = word.globalMatch(xml); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page"))) {
            pages.push_back({});
            continue;
        }
        if (!pages.isEmpty())
            pages.last().push_back({m.captured(5), m.captured(1).toDouble(), m.captured(2).toDouble(),
                                    m.captured(3).toDouble(), m.captured(4).toDouble()});
    }
    return pages;
}

// The vertical lines each page strokes, from its uncompressed content.
QVector<QVector<VerticalLine>> VerticalLines(const QString& pdf, const QString& qdf)
{
    RunTool(QStringLiteral("qpdf"), {QStringLiteral("--qdf"), QStringLiteral("--object-streams=disable"), pdf, qdf});
    QFile f(qdf);
    f.open(QIODevice::ReadOnly);
    const QString content = QString::fromLatin1(f.readAll());
    QVector<QVector<VerticalLine>> pages;
    static const QRegularExpression op(QStringLiteral("^(?:%% Contents for page|([-\\d.]+) ([-\\d.]+) ([ml])$)"),
                                       QRegularExpression::MultilineOption);
    double x = 0, y = 0;
    for (auto it = op.globalMatch(content); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(3).isEmpty()) {
            pages.push_back({});
            continue;
        }
        const double nx = m.captured(1).toDouble(), ny = m.captured(2).toDouble();
        if (m.captured(3) == QLatin1String("l") && nx == x && !pages.isEmpty())
            pages.last().push_back({x, kPageHeight - std::max(y, ny), kPageHeight - std::min(y, ny)});
        x = nx;
        y = ny;
    }
    return pages;
}

bool Overlap(double a0, double a1, double b0, double b1)
{
    return std::min(a1, b1) - std::max(a0, b0) > 0.01;
}

// Words crossing a line of their row, and words running into each other.
QStringList Problems(const QVector<Box>& words, const QVector<VerticalLine>& lines)
{
    QStringList problems;
    for (const Box& w : words) {
        for (const VerticalLine& l : lines)
            if (l.x > w.left + 0.01 && l.x < w.right - 0.01 && Overlap(w.top, w.bottom, l.top, l.bottom))
                problems << QStringLiteral("\"%1\" (%2..%3) crosses the line at x %4").arg(w.text).arg(w.left).arg(w.right).arg(l.x);
        for (const Box& v : words)
            if (&v != &w && v.left >= w.left && Overlap(w.top, w.bottom, v.top, v.bottom) && Overlap(w.left, w.right, v.left, v.right))
                problems << QStringLiteral("\"%1\" (%2..%3) runs into \"%4\" (from %5)").arg(w.text).arg(w.left).arg(w.right).arg(v.text).arg(v.left);
    }
    return problems;
}

TEST(PdfCellFit, EveryTextStaysInItsCell)
{
    struct Case {
        const char* name;
        std::uint16_t language;
        int type;
        const char* id;
        const char* description;
    } const cases[] = {
        {"English, the longest texts", 0, 4, "TH20260615A/BATCH-07", "COLD ROOM 2, VACCINE SHELF B, BATCH 26"},
        {"English, temperature only", 0, 1, "T120260615B", "Cold room 2, vaccine shelf B"},
        {"Chinese", LANG_CHINESE, 4, "TH20260615A", "二号冷库疫苗货架乙二零二六年六月十五日第七批次"},
    };
    const ScopedTz tz("UTC");
    const TempDir dir;
    CLoggerRecord r;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DisplaySettings display = StartDisplay(c.language);
        MakeMission(r, c.type, 60, 600, display.unit);
        r.m_strValue[ROW_ID] = QString::fromUtf8(c.id);
        r.m_strValue[ROW_DESCRIPTION] = QString::fromUtf8(c.description);
        const QString path = dir.path(QStringLiteral("fit.pdf"));
        QString why;
        const bool written = WritePdfReport(r, display, path, &why);
        const QStringList whole = {r.m_strValue[ROW_ID], r.m_strValue[ROW_DESCRIPTION], GetText(164, c.language),
                                   GetText(163, c.language).trimmed()};
        ASSERT_TRUE(written) << why.toStdString();
        const auto words = Words(path);
        const auto lines = VerticalLines(path, dir.path(QStringLiteral("qdf.pdf")));
        ASSERT_EQ(words.size(), 3);
        ASSERT_EQ(lines.size(), 3);
        // Smaller, not left out.
        QStringList first;
        for (const Box& w : words[0])
            first << w.text;
        for (const QString& text : whole)
            EXPECT_TRUE(first.join(QLatin1Char(' ')).contains(text)) << text.toStdString();
        for (int page = 0; page < words.size(); ++page) {
            EXPECT_GT(lines[page].size(), 4);
            const QStringList problems = Problems(words[page], lines[page]);
            EXPECT_TRUE(problems.isEmpty()) << "page " << page + 1 << ":\n  " << problems.join(QStringLiteral("\n  ")).toStdString();
        }
    }
}

} // namespace
