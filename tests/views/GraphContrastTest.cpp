// Every text of the graph reads on its background: contrast of at least
// 4.5 : 1 by the relative luminance of sRGB colours, and the frame and the
// unit labels really are drawn in those colours.
#include "RecordFixture.h"
#include "views/GraphPage.h"
#include "views/GraphPalette.h"

#include <QLabel>
#include <gtest/gtest.h>

#include <cmath>

namespace {

double Linear(int channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& c)
{
    return 0.2126 * Linear(c.red()) + 0.7152 * Linear(c.green()) + 0.0722 * Linear(c.blue());
}

double Contrast(const QColor& a, const QColor& b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

int CountColour(const QImage& image, const QRect& area, const QColor& colour)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += image.pixelColor(x, y) == colour ? 1 : 0;
    return n;
}

} // namespace

TEST(GraphContrast, RatioOfKnownPairs)
{
    EXPECT_DOUBLE_EQ(Contrast(Qt::black, Qt::white), 21.0);
    EXPECT_DOUBLE_EQ(Contrast(QColor(200, 200, 255), QColor(200, 200, 255)), 1.0);
    EXPECT_NEAR(Contrast(QColor(119, 119, 119), Qt::white), 4.48, 0.01); // grey #777 just fails
    EXPECT_LT(Contrast(QColor(255, 255, 20), QColor(200, 200, 255)), 1.5); // the yellow on lavender of old
}

TEST(GraphContrast, EveryTextColourReadsOnItsBackground)
{
    using namespace GraphPalette;
    struct Pair { const char* what; QColor text, background; };
    const Pair pairs[] = {
        {"temperature levels on the strip", kTempText, kStrip},
        {"humidity levels on the strip", kHumiText, kStrip},
        {"temperature limit values", kTempText, kPlot},
        {"humidity limit values", kHumiText, kPlot},
        {"time labels", kTimeText, kPlot},
        {"time labels on the selected range", kTimeText, kSelection},
    };
    for (const Pair& p : pairs)
        EXPECT_GE(Contrast(p.text, p.background), 4.5) << p.what;
}

TEST(GraphContrast, TextsAreDrawnInTheCheckedColours)
{
    using namespace GraphPalette;
    CLoggerRecord record, range;
    DisplaySettings display;
    CGraphPage page(record, range, display);
    FillMission(record, 4, 100);
    page.Refresh();
    const QImage& frame = page.Frame();
    const int x0 = 60, right = frame.width() - 1, bottom = page.Geometry().bottomLevel;
    // Glyphs are smoothed: their solid pixels carry the colour itself.
    EXPECT_GT(CountColour(frame, QRect(0, 0, x0, frame.height()), kTempText), 0);
    EXPECT_GT(CountColour(frame, QRect(0, 0, x0, frame.height()), kHumiText), 0);
    EXPECT_GT(CountColour(frame, QRect(right - 70, 0, 70, bottom), kTempText), 0); // limit values
    EXPECT_GT(CountColour(frame, QRect(right - 140, 0, 140, bottom), kHumiText), 0);
    EXPECT_GT(CountColour(frame, QRect(x0 + 1, bottom + 5, right - x0 - 1, frame.height() - bottom - 6), kTimeText),
              0);

    // The unit labels beside the readouts, on the page's own background.
    for (const int id : {CGraphPage::IDC_TEMP_UNIT, CGraphPage::IDC_HUMI_UNIT}) {
        const QPalette pal = page.Control<QLabel>(id)->palette();
        EXPECT_GE(Contrast(pal.color(QPalette::WindowText), page.palette().color(QPalette::Window)), 4.5) << id;
    }
}
