// Curve and text pages drawn on the recording surface.
#include "support/MissionRecord.h"
#include "support/ScopedTz.h"

#include "base/TextTable.h"
#include "record/Units.h"
#include "report/CurvePage.h"
#include "report/RecordingSurface.h"
#include "report/TextPage.h"

#include <QMap>
#include <QRect>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

using Kind = CRecordingSurface::Kind;

class Pages : public ::testing::Test {
protected:
    // The report of the whole record, as the preview opens on it.
    ReportData Report(int pages, TempUnit unit = TempUnit::Celsius)
    {
        ReportData d;
        d.record = &r;
        SelectRange(r, r.m_tStart, r.m_tStop, d.range);
        d.display.unit = unit;
        d.totalPages = pages;
        d.screenPlotWidth = ScreenPlotWidth(96);
        d.ComputeAxisLabels();
        return d;
    }

    CRecordingSurface Curve(const ReportData& d, int page)
    {
        const CurveLayout l = ComputeCurveLayout(96, 96, 1, d.range);
        CRecordingSurface s(96, 96, l.pageWidth, l.pageHeight);
        DrawCurvePage(s, l, d, page);
        return s;
    }

    CRecordingSurface Text(const ReportData& d, int page)
    {
        const TextLayout l = ComputeTextLayout(96, 96, 1);
        CRecordingSurface s(96, 96, l.pageWidth, l.pageHeight);
        DrawTextPage(s, l, d, page);
        return s;
    }

    CLoggerRecord r;
    ScopedTz m_tz{"UTC"};
    const CurveLayout m_screen = ComputeCurveLayout(96, 96, 1, {});
    const int m_left = m_screen.X(30);
    const int m_right = m_screen.X(30) + m_screen.X(240);
};

TEST_F(Pages, CurvePointsFollowTheBudget)
{
    struct Case {
        int samples, pages, page;
        QVector<int> points; // per polyline of the page, top to bottom
        int labels;          // time labels of the page
    } const cases[] = {
        {1800, 1, 1, {602, 602, 598}, 18},
        {60000, 1, 1, {907, 907, 907}, 18},
        {10, 5, 1, {2, 2, 2}, 18},
        {10, 5, 3, {2, 2, 2}, 18},
        {10, 5, 4, {}, 3}, // chart 9: one point, no line, labels at it
        {10, 5, 5, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.samples << " samples, page " << c.page);
        MakeMission(r, 1, c.samples, 60);
        const ReportData d = Report(c.pages);
        const CRecordingSurface s = Curve(d, c.page);
        const auto lines = s.Of(Kind::Polyline);
        ASSERT_EQ(lines.size(), c.points.size());
        for (int i = 0; i < lines.size(); ++i)
            EXPECT_EQ(lines[i].points.size(), c.points[i]) << i;
        if (!lines.isEmpty()) {
            EXPECT_EQ(lines[0].points.first().x(), m_left);
            if (c.points[0] == 602 || c.points[0] == 2) {
                EXPECT_EQ(lines[0].points.last().x(), m_right); // the next chart's first sample
            }
            for (const QPoint& p : lines[0].points)
                EXPECT_TRUE(p.x() >= m_left && p.x() <= m_right + 1);
        }
        // Every strip keeps its grid, labels and axes.
        int dotted = 0;
        for (const auto& op : s.Of(Kind::Line))
            dotted += op.pen.style == PenStyle::Dot;
        EXPECT_EQ(dotted, 27);
        EXPECT_TRUE(s.HasText(QStringLiteral("%1/%2").arg(c.page).arg(c.pages)));
        // Time labels only at points a chart has.
        int labels = 0;
        for (const auto& op : s.Of(Kind::Text))
            labels += op.text.count(QLatin1Char('-')) == 2 && op.points[0].y() > m_screen.Y(76) - 1;
        EXPECT_EQ(labels, c.labels);
    }
}

TEST_F(Pages, CurveKeepsSpikesAndPlacesByCelsius)
{
    MakeMission(r, 4, 60000, 60);
    r.m_fTempShown[12345] = 40;     // a one-sample spike survives the buckets
    const ReportData c = Report(1, TempUnit::Celsius);
    const ReportData f = Report(1, TempUnit::Fahrenheit);
    const CRecordingSurface sc = Curve(c, 1);
    const CRecordingSurface sf = Curve(f, 1);
    const auto lines = sc.Of(Kind::Polyline);
    ASSERT_EQ(lines.size(), 6); // temperature and humidity of three charts
    int top = 1 << 30;
    for (const QPoint& p : lines[0].points)
        top = std::min(top, p.y());
    EXPECT_EQ(top, m_screen.Y(5) + m_screen.Y(25)); // the range's maximum on the top line
    EXPECT_EQ(lines[0].pen.width, 1);
    EXPECT_EQ(lines[1].pen.width, 3);
    // The unit changes the texts, not the curves.
    EXPECT_EQ(sf.Of(Kind::Polyline)[0].points, lines[0].points);
    EXPECT_TRUE(sc.HasText(QString::fromUtf8("40.00\u00B0C")));
    EXPECT_TRUE(sf.HasText(QString::fromUtf8("104.00\u00B0F")));
    EXPECT_TRUE(sc.HasText(QString::fromUtf8("[2.00,8.00]\u00B0C")));
    EXPECT_TRUE(sf.HasText(QString::fromUtf8("[35.60,46.40]\u00B0F")));
    EXPECT_TRUE(sc.HasText(GetText(59, 0)));
    EXPECT_TRUE(sc.HasText(QStringLiteral("[40.00,60.00]%RH")));
}

TEST_F(Pages, CurveTimeLabelsRiseEvenlyAcrossEachStrip)
{
    struct Case {
        int samples, interval, strip;
        QStringList labels; // left to right
    } const cases[] = {
        // Three samples a strip: two ticks share a sample, yet each states its own time.
        {8, 600, 0, {"2026-6-15 08:00", "2026-6-15 08:05", "2026-6-15 08:10", "2026-6-15 08:15", "2026-6-15 08:20", "2026-6-15 08:25"}},
        {8, 600, 2, {"2026-6-15 09:00", "2026-6-15 09:05", "2026-6-15 09:10"}}, // labels only as far as the curve
        // 20001 samples a strip in buckets: strip 1 starts 20001 minutes in.
        {60000, 60, 1, {"2026-6-29 05:21", "2026-7-1 12:54", "2026-7-3 20:28", "2026-7-6 04:01", "2026-7-8 11:35", "2026-7-10 19:08"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.samples << " samples, strip " << c.strip);
        MakeMission(r, 1, c.samples, c.interval);
        const CRecordingSurface s = Curve(Report(1), 1);
        QMap<int, QString> labels; // by x
        for (const auto& op : s.Of(Kind::Text))
            if (op.points[0].y() == c.strip * m_screen.Y(57) + m_screen.Y(76))
                labels[op.points[0].x()] = op.text;
        EXPECT_EQ(QStringList(labels.values()).join(QStringLiteral(", ")).toStdString(), c.labels.join(QStringLiteral(", ")).toStdString());
    }
}

TEST_F(Pages, CurveHeaderWithoutHumidity)
{
    MakeMission(r, 1, 100);
    const CRecordingSurface s = Curve(Report(1), 1);
    for (int id : {59, 60})
        EXPECT_FALSE(s.HasText(GetText(id, 0)));
    for (const auto& op : s.Of(Kind::Text))
        EXPECT_FALSE(op.text.contains(QLatin1String("%RH"))) << op.text.toStdString();
    // The header's second part ends 54 mm after 174 mm.
    const CurveLayout& l = m_screen;
    int rightmost = 0;
    for (const auto& op : s.Of(Kind::Line))
        if (op.points[0].y() == l.Y(7) && op.points[1].y() == l.Y(7) + 2 * l.Y(5))
            rightmost = std::max(rightmost, op.points[0].x());
    EXPECT_EQ(rightmost, l.X(174) + l.X(20) + l.X(34));
    EXPECT_EQ(s.Of(Kind::Polyline).size(), 3);
    EXPECT_TRUE(s.HasText(QStringLiteral("100")));
}

TEST_F(Pages, TextPagesSplitTheRange)
{
    struct Case {
        int samples;
        int lastPage;
        QVector<int> rowsOnPages; // pages 2..
    } const cases[] = {{121, 4, {60, 60, 1}}, {120, 3, {60, 60}}};
    for (const Case& c : cases) {
        MakeMission(r, 1, c.samples);
        const ReportData d = Report(TextPageCount(c.samples));
        ASSERT_EQ(d.totalPages, c.lastPage);
        int number = 0;
        for (int page = 2; page <= c.lastPage; ++page) {
            const CRecordingSurface s = Text(d, page);
            int rows = 0;
            for (const auto& op : s.Of(Kind::Text))
                if (op.background.r != 255 && op.points[0].x() == ComputeTextLayout(96, 96, 1).X(15)) {
                    ++rows;
                    EXPECT_EQ(op.text.toInt(), ++number);
                }
            EXPECT_EQ(rows, c.rowsOnPages[page - 2]) << page;
            EXPECT_TRUE(s.HasText(QStringLiteral("%1/%2").arg(page).arg(c.lastPage)));
        }
        EXPECT_EQ(number, c.samples);
    }
}

TEST_F(Pages, TableMarksValuesPastTheLimits)
{
    MakeMission(r, 4, 30);
    const float temps[] = {1.5f, 8.0f, 8.01f, 2.0f};
    std::copy(std::begin(temps), std::end(temps), r.m_fTempShown.begin());
    r.m_fHumi[0] = 39.5f;
    r.m_fHumi[1] = 60.5f;
    r.m_fHumi[2] = 60.0f;
    struct Case {
        TempUnit unit;
        const char* cells[4];
    } const cases[] = {
        {TempUnit::Celsius, {"1.50\u00B0C [<2.00]", "8.00\u00B0C", "8.01\u00B0C [>8.00]", "2.00\u00B0C"}},
        {TempUnit::Fahrenheit, {"34.70\u00B0F [<35.60]", "46.40\u00B0F", "46.42\u00B0F [>46.40]", "35.60\u00B0F"}},
    };
    for (const Case& c : cases) {
        const CRecordingSurface s = Text(Report(2, c.unit), 2);
        for (const char* cell : c.cells)
            EXPECT_TRUE(s.HasText(QString::fromUtf8(cell))) << cell;
        EXPECT_TRUE(s.HasText(QStringLiteral("39.50%RH [<40.00]")));
        EXPECT_TRUE(s.HasText(QStringLiteral("60.50%RH [>60.00]")));
        EXPECT_TRUE(s.HasText(QStringLiteral("60.00%RH")));
    }
    r.m_bTempAlarm = 0;
    const CRecordingSurface s = Text(Report(2), 2);
    EXPECT_TRUE(s.HasText(QString::fromUtf8("1.50\u00B0C")));
    EXPECT_TRUE(Text(Report(2), 1).HasText(GetText(58, 0) + QStringLiteral(": ")));
}

TEST_F(Pages, TableRowsGreysAndCutId)
{
    MakeMission(r, 1, 30);
    r.m_strValue[ROW_ID] = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    const ReportData d = Report(2);
    const CRecordingSurface table = Text(d, 2);
    EXPECT_TRUE(table.HasText(QStringLiteral("ABCDEFGHIJKLMNOPQRST")));
    const std::pair<int, int> greys[] = {{10, 245}, {11, 246}, {19, 254}, {20, 245}};
    for (auto [row, grey] : greys) {
        const auto ops = table.Texts(QString::number(row));
        ASSERT_EQ(ops.size(), 1) << row;
        EXPECT_EQ(ops[0].background, (Rgb{grey, grey, grey})) << row;
    }
    EXPECT_EQ(table.Texts(GetText(30, 0))[0].background, (Rgb{255, 255, 255}));
    const CRecordingSurface summary = Text(d, 1);
    EXPECT_TRUE(summary.HasText(SummaryCaption(ROW_ID, 0) + QStringLiteral(" ABCDEFGHIJKLMNOPQRSTUVWXYZ")));
}

TEST_F(Pages, SummaryIntervalAndRangeStatistics)
{
    MakeMission(r, 4, 3, 90061);
    const CRecordingSurface s = Text(Report(1), 1);
    EXPECT_TRUE(s.HasText(SummaryCaption(ROW_INTERVAL, 0) + QStringLiteral(" 01:01:01")));
    EXPECT_TRUE(s.HasText(SummaryCaption(ROW_COUNT, 0) + QStringLiteral(" 3")));
    EXPECT_TRUE(s.HasText(SummaryCaption(ROW_START, 0) + QStringLiteral(" 2026-6-15 08:00")));
    EXPECT_TRUE(s.HasText(GetText(60, 0) + QStringLiteral(": [40.00, 60.00]%RH")));
    EXPECT_TRUE(s.HasText(GetText(58, 0) + QString::fromUtf8(": [2.00, 8.00]\u00B0C")));
}

// The box a text takes on the surface, by its estimates.
QRect TextBox(const CRecordingSurface& s, const CRecordingSurface::Op& op)
{
    return QRect(op.points[0], QSize(s.TextWidth(op.font, op.text), s.LineHeight(op.font)));
}

TEST_F(Pages, EveryPageCarriesTheFingerprintClearOfItsOtherTexts)
{
    MakeMission(r, 4, 130);
    const QString fingerprint = QStringLiteral("0123456789abcdef").repeated(4);
    const QString line = QStringLiteral("SHA-256: ") + fingerprint;
    struct Case {
        const char* page;
        bool curve;
        int number;
        int total;
    } const cases[] = {
        {"curve page", true, 1, 2}, {"last curve page", true, 2, 2},
        {"summary page", false, 1, 4}, {"full table page", false, 2, 4}, {"last table page", false, 4, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        ReportData d = Report(c.total);
        d.fingerprint = fingerprint;
        const CRecordingSurface s = c.curve ? Curve(d, c.number) : Text(d, c.number);
        const auto mine = s.Texts(line);
        ASSERT_EQ(mine.size(), 1);
        const QRect box = TextBox(s, mine[0]);
        EXPECT_TRUE(QRect(0, 0, s.Width(), s.Height()).contains(box));
        // Printing fits 197.3 (landscape) or 284.3 mm (portrait) of the
        // page's height to the paper: its characters stay above that.
        const int printed = c.curve ? m_screen.Y(197.3) : ComputeTextLayout(96, 96, 1).Y(284.3);
        EXPECT_LE(box.top() + std::abs(mine[0].font.pixelHeight), printed);
        for (const auto& op : s.Of(Kind::Text)) {
            if (op.text == line)
                continue;
            EXPECT_FALSE(box.intersects(TextBox(s, op))) << op.text.toStdString();
        }

        d.fingerprint.clear();
        const CRecordingSurface without = c.curve ? Curve(d, c.number) : Text(d, c.number);
        EXPECT_EQ(without.Of(Kind::Text).size() + 1, s.Of(Kind::Text).size());
    }
}

} // namespace
