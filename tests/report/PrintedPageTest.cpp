// A curve page as printed against the same page in the preview: pixels of
// the page image, measured relative to the chart's width.
#include "support/MissionRecord.h"
#include "support/ScopedTz.h"

#include "record/Units.h"
#include "report/CurvePage.h"
#include "report/ui/PainterSurface.h"
#include "report/ui/ReportPrinting.h"

#include <QImage>
#include <QPainter>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct Render {
    QImage image;
    CurveLayout layout; // where the page's parts lie on this image
};

// The lengths of the dark runs along a horizontal or vertical segment.
QVector<int> DarkRuns(const QImage& image, QPoint from, QPoint to)
{
    QVector<int> runs;
    const QPoint step = from.x() == to.x() ? QPoint(0, 1) : QPoint(1, 0);
    int run = 0;
    for (QPoint p = from; p != to + step; p += step) {
        const bool dark = qGray(image.pixel(p)) < 128;
        if (dark)
            ++run;
        if ((!dark || p == to) && run > 0) {
            runs << run;
            run = 0;
        }
    }
    return runs;
}

Render Draw(const ReportData& d, int dpi, const QSize& size, bool printed)
{
    Render r;
    r.image = QImage(size, QImage::Format_Grayscale8);
    r.image.fill(Qt::white);
    QPainter painter(&r.image);
    CPainterSurface surface(painter, dpi, dpi, size.width(), size.height());
    const double a = size.width() * 25.4 / dpi, b = size.height() * 25.4 / dpi;
    r.layout = ComputeCurveLayout(dpi, dpi, printed ? PrintScale(a, b, true) : 1.0f, d.range);
    if (printed)
        DrawReportPage(surface, d, ReportKind::Curve, 5);
    else
        DrawCurvePage(surface, r.layout, d, 5);
    return r;
}

TEST(PrintedPage, KeepsThePreviewsLineWeightsAndDots)
{
    ScopedTz tz{"UTC"};
    CLoggerRecord record;
    // Page 5 of 10 samples on 5 pages: charts without curves, so every
    // stroke measured below stands alone.
    MakeMission(record, 4, 10);
    ReportData d;
    d.record = &record;
    SelectRange(record, record.m_tStart, record.m_tStop, d.range);
    d.display.unit = TempUnit::Celsius;
    d.totalPages = 5;
    d.screenPlotWidth = ScreenPlotWidth(96);
    d.ComputeAxisLabels();

    const CurveLayout screen = ComputeCurveLayout(96, 96, 1, d.range);
    const Render preview = Draw(d, 96, QSize(screen.pageWidth, screen.pageHeight), false);
    // The same 290 x 200 mm on a 600 dpi printer.
    const Render printed = Draw(d, 600, QSize(6850, 4724), true);

    using Probe = std::function<QVector<int>(const Render&)>;
    // A legend's height is converted with the x axis, as the legend is.
    auto column = [](double xMm, double fromMm, double toMm, bool legend) -> Probe {
        return [=](const Render& r) {
            const CurveLayout& l = r.layout;
            const int from = legend ? l.X(fromMm) : l.Y(fromMm), to = legend ? l.X(toMm) : l.Y(toMm);
            return DarkRuns(r.image, {l.X(xMm), from}, {l.X(xMm), to});
        };
    };
    auto row = [](double yMm, double fromMm, double toMm) -> Probe {
        return [=](const Render& r) {
            const CurveLayout& l = r.layout;
            return DarkRuns(r.image, {l.X(fromMm), l.Y(yMm)}, {l.X(toMm), l.Y(yMm)});
        };
    };
    const struct Case {
        const char* stroke;
        Probe probe;
        bool dots; // compare the number of dots and a dot's length; else the stroke's width
    } cases[] = {
        {"temperature legend (thin)", column(8, 27, 30, true), false},
        {"humidity legend (thick)", column(8, 30, 33, true), false},
        {"time axis", column(150, 72, 78, false), false},
        {"value axis", row(47.5, 28.5, 31.5), false},
        {"dotted grid", [&](const Render& r) {
             const CurveLayout& l = r.layout;
             const int y = static_cast<int>(l.Y(25) + 3 * l.RealY(5));
             return DarkRuns(r.image, {l.X(40), y}, {l.X(260), y});
         }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stroke);
        const QVector<int> a = c.probe(preview), b = c.probe(printed);
        ASSERT_FALSE(a.isEmpty());
        ASSERT_FALSE(b.isEmpty());
        // Lengths per pixel of chart width: the printed page is the preview, finer.
        const double perA = 1.0 / preview.layout.X(240), perB = 1.0 / printed.layout.X(240);
        if (c.dots) {
            EXPECT_NEAR(double(b.size()) / a.size(), 1.0, 0.1) << a.size() << " dots against " << b.size();
            EXPECT_NEAR(b[1] * perB / (a[1] * perA), 1.0, 0.25) << "dot " << a[1] << " against " << b[1];
        } else {
            ASSERT_EQ(b.size(), a.size());
            EXPECT_NEAR(b[0] * perB / (a[0] * perA), 1.0, 0.25) << "width " << a[0] << " against " << b[0];
        }
    }
}

} // namespace
