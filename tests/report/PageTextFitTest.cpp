// Every text of the curve and text pages measured with the font it is drawn
// in, against the lines of its cell and the texts beside it, in both
// languages, in the preview and at a printer's resolution.
#include "support/MissionRecord.h"
#include "support/ScopedTz.h"

#include "base/TextTable.h"
#include "record/Units.h"
#include "report/CurvePage.h"
#include "report/TextPage.h"
#include "report/ui/PainterSurface.h"
#include "report/ui/ReportPrinting.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QImage>
#include <QLine>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

// Draws through the painter's surface and keeps every line, and every text
// with the box it takes in the painter's font: its width, and its height
// down to the baseline (descenders may reach the line below).
class CMeasuredSurface : public ISurface {
public:
    struct Text {
        QString text;
        QRect box;
        int pixelSize;
    };

    CMeasuredSurface(QPainter& painter, int dpiX, int dpiY, int width, int height)
        : m_painter(painter), m_inner(painter, dpiX, dpiY, width, height)
    {
    }

    void Rectangle(int left, int top, int right, int bottom) override { m_inner.Rectangle(left, top, right, bottom); }
    void SetPen(const Pen& pen) override { m_inner.SetPen(pen); }
    void SetFont(const FontSpec& font) override
    {
        if (m_pageFontSize == 0)
            m_pageFontSize = font.pixelHeight;
        m_inner.SetFont(font);
    }
    void MoveTo(int x, int y) override
    {
        m_at = QPoint(x, y);
        m_inner.MoveTo(x, y);
    }
    void LineTo(int x, int y) override
    {
        m_lines.push_back(QLine(m_at, QPoint(x, y)));
        m_at = QPoint(x, y);
        m_inner.LineTo(x, y);
    }
    void Polyline(const QPoint* points, int count) override { m_inner.Polyline(points, count); }
    void TextOut(int x, int y, const QString& text) override
    {
        const QFontMetrics metrics(m_painter.font(), m_painter.device());
        const int width = metrics.boundingRect(QRect(0, 0, 100000, 100000), 0, text).width();
        m_texts.push_back({text, QRect(x, y, width, metrics.ascent()), m_painter.font().pixelSize()});
        m_inner.TextOut(x, y, text);
    }
    void SetTextBackground(Rgb color) override { m_inner.SetTextBackground(color); }
    int TextWidth(const FontSpec& font, const QString& text) const override { return m_inner.TextWidth(font, text); }
    int LineHeight(const FontSpec& font) const override { return m_inner.LineHeight(font); }
    int DpiX() const override { return m_inner.DpiX(); }
    int DpiY() const override { return m_inner.DpiY(); }
    int Width() const override { return m_inner.Width(); }
    int Height() const override { return m_inner.Height(); }

    // Texts crossing a line (a vertical one of their row, a horizontal one
    // under their letters), running into another text or past the page's
    // right edge.
    QStringList Problems() const
    {
        QStringList problems;
        auto name = [](const Text& t) {
            return QStringLiteral("\"%1\" (x %2..%3, y %4)").arg(t.text).arg(t.box.left()).arg(t.box.right()).arg(t.box.top());
        };
        for (const Text& t : m_texts) {
            for (const QLine& l : m_lines) {
                // Lines are drawn one pixel wide, so a line is the rectangle it covers.
                const QRect line = QRect(l.p1(), l.p2()).normalized();
                if (line.intersects(t.box))
                    problems << name(t) + QStringLiteral(" crosses the line from (%1, %2) to (%3, %4)").arg(l.x1()).arg(l.y1()).arg(l.x2()).arg(l.y2());
            }
            for (const Text& u : m_texts)
                if (&u != &t && u.box.left() >= t.box.left() && u.box.intersects(t.box))
                    problems << name(t) + QStringLiteral(" runs into ") + name(u);
            if (t.box.right() >= Width())
                problems << name(t) + QStringLiteral(" reaches past the page's edge at %1").arg(Width());
        }
        return problems;
    }

    // Texts drawn smaller than the first font the page chose.
    QStringList Smaller() const
    {
        QStringList smaller;
        for (const Text& t : m_texts)
            if (t.pixelSize < m_pageFontSize)
                smaller << t.text;
        return smaller;
    }

private:
    QPainter& m_painter;
    CPainterSurface m_inner;
    int m_pageFontSize = 0;
    QPoint m_at;
    QVector<QLine> m_lines;
    QVector<Text> m_texts;
};

void PaintCurve(ISurface& s, const ReportData& d, int page, int dpi, float f)
{
    CurveLayout l = ComputeCurveLayout(dpi, dpi, f, d.range);
    l.pageWidth = s.Width();
    l.pageHeight = s.Height();
    DrawCurvePage(s, l, d, page);
}

void PaintText(ISurface& s, const ReportData& d, int page, int dpi, float f)
{
    TextLayout l = ComputeTextLayout(dpi, dpi, f);
    l.pageWidth = s.Width();
    l.pageHeight = s.Height();
    DrawTextPage(s, l, d, page);
}

struct Measured {
    QStringList problems;
    QStringList smaller;
};

Measured Measure(CMeasuredSurface& s, ReportKind kind, const ReportData& d, int page, int dpi, float f)
{
    (kind == ReportKind::Curve ? PaintCurve : PaintText)(s, d, page, dpi, f);
    return {s.Problems(), s.Smaller()};
}

// One page in the preview: a 96 dpi image at scale 1.
Measured OnPreview(const ReportData& d, ReportKind kind, int page)
{
    const CurveLayout cl = ComputeCurveLayout(96, 96, 1, d.range);
    const TextLayout tl = ComputeTextLayout(96, 96, 1);
    const QSize size = kind == ReportKind::Curve ? QSize(cl.pageWidth, cl.pageHeight) : QSize(tl.pageWidth, tl.pageHeight);
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    QPainter painter(&image);
    CMeasuredSurface s(painter, 96, 96, size.width(), size.height());
    return Measure(s, kind, d, page, 96, 1);
}

// One page printed on A4 at 600 dpi, scaled to the printable area as
// printing does.
Measured OnPrinter(const ReportData& d, ReportKind kind, int page)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(600);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(4, 4, 4, 4), QPageLayout::Millimeter);
    writer.setPageOrientation(PageOrientation(kind));
    QPainter painter(&writer);
    CMeasuredSurface s(painter, 600, 600, writer.width(), writer.height());
    const double a = writer.width() * 25.4 / 600, b = writer.height() * 25.4 / 600;
    return Measure(s, kind, d, page, 600, PrintScale(a, b, kind == ReportKind::Curve));
}

// Whether the texts drawn smaller are those (or the lines of those) that
// do not fit in the page's font, and no others.
bool SmallerAreOnly(const QStringList& smaller, const QStringList& expected)
{
    for (const QString& text : smaller)
        if (std::none_of(expected.begin(), expected.end(), [&](const QString& e) { return e.contains(text); }))
            return false;
    return std::all_of(expected.begin(), expected.end(), [&](const QString& e) {
        return std::any_of(smaller.begin(), smaller.end(), [&](const QString& text) { return e.contains(text); });
    });
}

TEST(PageTextFit, EveryTextFitsItsCellAndRow)
{
    struct Case {
        const char* name;
        std::uint16_t language;
        const char* description;
        const char* tooWide; // the other header text too wide for the page font
    } const cases[] = {
        {"English", 0, "Cold room 2, vaccine shelf B", "Humi Average"},
        {"English, a description of 48 characters", 0, "COLD ROOM 2, VACCINE SHELF B, BATCH 2026-0615 AB", "Humi Average"},
        {"Chinese, a description of 24 characters", LANG_CHINESE, "二号冷库疫苗货架乙二零二六年六月十五日第七批次", "平均动力学温度"},
    };
    const ScopedTz tz("UTC");
    CLoggerRecord r;
    for (const Case& c : cases) {
        const DisplaySettings display = StartDisplay(c.language);
        MakeMission(r, 4, 200, 600, display.unit);
        r.m_strValue[ROW_DESCRIPTION] = QString::fromUtf8(c.description);
        ReportData d;
        d.record = &r;
        SelectRange(r, r.m_tStart, r.m_tStop, d.range);
        d.display = display;
        d.ComputeAxisLabels();
        const struct {
            ReportKind kind;
            int page;
            int pages;
        } pages[] = {{ReportKind::Curve, 1, 1}, {ReportKind::Text, 1, TextPageCount(200)}, {ReportKind::Text, 2, TextPageCount(200)}};
        const QStringList tooWide = {QString::fromUtf8(c.description), QString::fromUtf8(c.tooWide)};
        for (const auto& p : pages) {
            d.totalPages = p.pages;
            const bool curve = p.kind == ReportKind::Curve;
            for (const bool printer : {false, true}) {
                const Measured m = printer ? OnPrinter(d, p.kind, p.page) : OnPreview(d, p.kind, p.page);
                const std::string where = std::string(c.name) + (printer ? ", print of " : ", preview of ") +
                                          (curve ? "curve page " : "text page ") + std::to_string(p.page);
                EXPECT_TRUE(m.problems.isEmpty()) << where << ":\n  " << m.problems.join(QStringLiteral("\n  ")).toStdString();
                if (curve) {
                    EXPECT_TRUE(SmallerAreOnly(m.smaller, tooWide)) << where << ", drawn smaller: " << m.smaller.join(QStringLiteral(" | ")).toStdString();
                }
            }
        }
    }
}

} // namespace
