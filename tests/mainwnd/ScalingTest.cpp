#include "views/DialogScale.h"
#include "mainwnd/MainDialog.h"

#include <algorithm>
#include <gtest/gtest.h>

TEST(DialogScale, DialogUnitsToPixels)
{
    const DialogBaseUnits u{7, 13};
    EXPECT_EQ(DluToPixels(0, 0, 606, 369, u), QRect(0, 0, 1060, 599));
    EXPECT_EQ(DluToPixels(25, 63, 50, 14, u), QRect(43, 102, 88, 23));
    EXPECT_EQ(DluToPixels(0, 0, 606, 369, {6, 13}), QRect(0, 0, 909, 599));
}

TEST(DialogScale, FitsNinetyPercentOfTheScreen)
{
    struct Case {
        QSize screen, window;
        float scale;
    };
    const Case cases[] = {
        {{1920, 1080}, {1060, 599}, 972.0f / 599.0f},
        {{1920, 1080}, {1200, 500}, 1728.0f / 1200.0f},
        {{800, 600}, {1060, 599}, 540.0f / 599.0f < 720.0f / 1060.0f ? 540.0f / 599.0f : 720.0f / 1060.0f},
        {{1366, 768}, {909, 599}, 691.0f / 599.0f},
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(ScreenFitScale(c.screen, c.window), c.scale) << c.screen.width();
    EXPECT_LT(ScreenFitScale({800, 600}, {1060, 599}), 1.0f);
    EXPECT_EQ(CentredOrigin({1920, 1080}, {1720, 972}), QPoint(100, 54));
}

TEST(DialogScale, ControlsKeepTheirCentreAndAnEvenSize)
{
    struct Case {
        QRect rect;
        float scale;
        QPoint origin;
        QRect scaled;
    };
    const Case cases[] = {
        {{10, 20, 50, 14}, 2.0f, {}, {20, 40, 100, 28}},
        {{0, 0, 15, 228}, 1.5f, {}, {0, 0, 24, 342}},
        {{105, 125, 50, 14}, 2.0f, {100, 100}, {10, 50, 100, 28}},
        {{10, 20, 51, 15}, 0.5f, {}, {5, 10, 26, 8}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScaleControlRect(c.rect, c.scale, c.origin), c.scaled) << c.rect.x() << "," << c.rect.width();
}

TEST(DialogScale, ScaledFontMultipliesThePixelHeight)
{
    QFont font = DialogFont();
    EXPECT_EQ(font.pixelSize(), 11);
    EXPECT_EQ(ScaledFont(font, 1.62f).pixelSize(), 17);
    EXPECT_EQ(ScaledFont(font, 0.05f).pixelSize(), 1);
}

TEST(DialogScale, MainWindowOnA1920By1080Screen)
{
    const QSize unscaled = DluToPixels(0, 0, 606, 369, BaseUnitsOf(DialogFont())).size();
    const float s = ScreenFitScale({1920, 1080}, unscaled);
    CMainDialog dialog({}, {1920, 1080});
    EXPECT_FLOAT_EQ(dialog.Scale(), s);
    const QSize scaled(static_cast<int>(unscaled.width() * s), static_cast<int>(unscaled.height() * s));
    EXPECT_EQ(dialog.size(), scaled);
    EXPECT_EQ(dialog.pos(), CentredOrigin({1920, 1080}, scaled));
    EXPECT_LE(scaled.width(), 1728);
    EXPECT_LE(scaled.height(), 972);

    const DialogBaseUnits u = BaseUnitsOf(DialogFont());
    const QRect download = DluToPixels(25, 63, 50, 14, u);
    EXPECT_EQ(dialog.Control(CMainDialog::IDC_DOWNLOAD)->geometry(), ScaleControlRect(download, s));
    const QRect banner = dialog.Control(CMainDialog::IDC_BANNER)->geometry();
    EXPECT_EQ(banner.topLeft(), QPoint(0, 0));
    // Its even width, within the window.
    EXPECT_EQ(banner.width(),
              std::min(2 * static_cast<int>(((DluToPixels(0, 0, 606, 55, u).width() + 1) / 2) * s), scaled.width()));
    EXPECT_EQ(dialog.Control(CMainDialog::IDC_DOWNLOAD)->font().pixelSize(), static_cast<int>(11 * s));
}
