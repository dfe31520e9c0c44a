#include "base/TextTable.h"
#include "mainwnd/BatteryStrip.h"
#include "record/LoggerRecord.h"
#include "workflow/WorkflowHarness.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

const QColor kIdle(132, 155, 168);
const QColor kBackground(10, 10, 40);
const QColor kBars[3] = {QColor(250, 80, 0), QColor(150, 150, 0), QColor(150, 200, 0)};

QImage Paint(bool active, int level, const QString& id, int w = 30, int h = 400)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintBatteryStrip(painter, w, h, active, level, id);
    return image;
}

// Bar colours found down the middle column, bottom bar first.
int BarsIn(const QImage& image)
{
    int bars = 0;
    for (const QColor& bar : kBars) {
        bool found = false;
        for (int y = 0; y < image.height() && !found; ++y)
            found = image.pixelColor(image.width() / 2, y) == bar;
        bars += found ? 1 : 0;
    }
    return bars;
}

} // namespace

TEST(BatteryStrip, BarsByLevelAndId)
{
    struct Case {
        int level;
        const char* id;
        int bars;
    };
    const Case cases[] = {
        {3, "U1000000001", 0}, {4, "U1000000001", 1}, {5, "U1000000001", 2}, {6, "U1000000001", 3},
        {7, "U1000000001", 3}, {0, "U1000000001", 0}, {4, "I5000000005", 0}, {5, "i2000000002", 1},
        {6, "UI300000003", 2}, {7, "DI600000006", 3},
    };
    for (const Case& c : cases) {
        const QString id = QString::fromLatin1(c.id);
        EXPECT_EQ(BatteryBars(c.level, id), c.bars) << c.level << " " << c.id;
        EXPECT_EQ(BarsIn(Paint(true, c.level, id)), c.bars) << c.level << " " << c.id;
    }
}

TEST(BatteryStrip, ShownOnlyForConnectedLoggersThatReportIt)
{
    struct Case {
        bool connected;
        int type;
        const char* id;
        bool shown;
    };
    const Case cases[] = {
        {false, 1, "U1000000001", false}, {true, 1, "U1000000001", true}, {true, 2, "D2000000002", false},
        {true, 2, "i2000000002", true},   {true, 4, "UTH40000004", true}, {true, 0, "", false},
        {true, 5, "I5000000005", true},   {true, 6, "DI600000006", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BatteryStripShowsLogger(c.connected, c.type, QString::fromLatin1(c.id)), c.shown) << c.id;
}

TEST(BatteryStrip, IdleStripIsOnePlainColour)
{
    const QImage image = Paint(false, 7, QStringLiteral("U1000000001"));
    for (int y = 0; y < image.height(); y += 7)
        ASSERT_EQ(image.pixelColor(15, y), kIdle) << y;
}

TEST(BatteryStrip, ActiveStripDrawsTheBatteryBelowTheBars)
{
    const QImage image = Paint(true, 3, QStringLiteral("U1000000001"));
    EXPECT_EQ(image.pixelColor(15, 10), kBackground);
    // The outline in the red pen, in the bottom quarter only.
    const QColor outline(250, 50, 50);
    int firstRed = -1;
    for (int y = 0; y < image.height() && firstRed < 0; ++y)
        if (image.pixelColor(15, y) == outline)
            firstRed = y;
    EXPECT_GE(firstRed, 300);
}

TEST(BatteryStrip, WidgetShowsTheLevelModuloEightWhileTheWorkflowHasALogger)
{
    CLoggerRecord record;
    record.m_nType = 1;
    record.m_strValue[ROW_ID] = QStringLiteral("U1000000001");
    record.m_nBattery = 14;
    CBatteryStrip strip;
    strip.SetRecord(&record);
    strip.resize(22, 300);
    WorkflowHarness h;
    strip.SetWorkflow(&h.workflow);
    EXPECT_EQ(strip.grab().toImage().pixelColor(11, 5), kIdle); // no logger linked
    EXPECT_EQ(strip.ToolTipText(), GetText(TextId::BatteryNoLogger, 0));

    h.serial.m_bLinked = true; // the serial logger has answered
    const QImage image = strip.grab().toImage();
    EXPECT_EQ(record.m_nBattery, 6);
    EXPECT_EQ(image.pixelColor(11, 5), kBars[2]); // level 6: the third bar reaches the top
    EXPECT_EQ(strip.ToolTipText(), GetText(TextId::BatteryFull, 0));
}

// The strip had no tooltip: its level is now said in words, and so is why
// there is none.
TEST(BatteryStrip, TooltipSaysTheLevelInWords)
{
    struct Case {
        BatteryReading reading;
        TextId text;
    } const cases[] = {
        {{false, 4, "UTH50040004", 7, true}, TextId::BatteryNoLogger},
        {{true, 2, "D2500020002", 7, true}, TextId::BatteryNotReported},
        {{true, 4, "UTH50040004", 0, false}, TextId::BatteryNotRead},
        {{true, 4, "UTH50040004", 7, true}, TextId::BatteryFull},
        {{true, 4, "UTH50040004", 6, true}, TextId::BatteryFull},
        {{true, 4, "UTH50040004", 5, true}, TextId::BatteryGood},
        {{true, 4, "UTH50040004", 4, true}, TextId::BatteryLow},
        {{true, 4, "UTH50040004", 3, true}, TextId::BatteryVeryLow},
        {{true, 4, "UTH50040004", 8 + 5, true}, TextId::BatteryGood}, // the level is read modulo 8
        {{true, 5, "I5000000005", 4, true}, TextId::BatteryVeryLow}, // an "I" logger needs a level more
        {{true, 5, "I5000000005", 5, true}, TextId::BatteryLow},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reading.id.toStdString() + " level " + std::to_string(c.reading.level));
        EXPECT_EQ(BatteryLevelText(c.reading, 0), GetText(c.text, 0));
        EXPECT_EQ(BatteryLevelText(c.reading, LANG_CHINESE), GetText(c.text, LANG_CHINESE));
    }
    EXPECT_EQ(GetText(TextId::BatteryGood, 0), "Battery: good");
}
