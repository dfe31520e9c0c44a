// The configuration dialog over a workflow linked to a virtual USB logger:
// its controls and set-up per logger type, the refusals that send nothing,
// Start and Stop, the low-battery warning and closing when the logger goes.
#include "base/TextTable.h"
#include "mainwnd/ConfigDlg.h"
#include "mainwnd/ConfigFields.h"
#include "record/LoggerRecord.h"
#include "record/Units.h"
#include "sim/usb/DemoUsbLogger.h"
#include "sim/usb/VirtualCh375.h"
#include "views/DialogScale.h"
#include "workflow/WorkflowHarness.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimeEdit>
#include <gtest/gtest.h>
#include <ctime>
#include <memory>

namespace {

using D = CConfigDlg;

class ConfigDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetCh375Library(&usb);
    }
    void TearDown() override
    {
        dialog.reset();
        h.workflow.Shutdown();
        SetCh375Library(nullptr);
    }
    void Open(int type, float scale = 1.0f)
    {
        logger = MakeDemoUsbLogger(type, static_cast<time64>(std::time(nullptr)));
        usb.Plug(0, logger, false);
        h.workflow.Startup();
        h.Pump();
        h.Tick(TIMER_USB_STATUS); // run state and battery
        dialog = std::make_unique<CConfigDlg>(h.workflow, h.display, scale);
        dialog->SetAsker([this](const QString& q) {
            questions << q;
            return true;
        });
        dialog->SetMessenger([this](const QString& m) { messages << m; });
    }
    void Type(int id, const QString& text) { dialog->Control<QLineEdit>(id)->setText(text); }

    CVirtualCh375 usb;
    WorkflowHarness h;
    std::shared_ptr<CVirtualUsbLogger> logger;
    std::unique_ptr<CConfigDlg> dialog;
    QStringList questions, messages;
};

TEST_F(ConfigDlgTest, ControlsSitAtTheirTemplatePlacesWithTheLoggersSettings)
{
    Open(4);
    const DialogBaseUnits units = BaseUnitsOf(dialog->font());
    EXPECT_EQ(dialog->size(), DluToPixels(0, 0, 401, 222, units).size());
    EXPECT_EQ(dialog->Control(D::IDC_START)->geometry(), DluToPixels(335, 81, 50, 16, units));
    EXPECT_EQ(dialog->Control(D::IDC_GAUGE)->geometry(), DluToPixels(296, 48, 18, 167, units));
    EXPECT_EQ(dialog->Control(D::IDC_HUMI_HIGH)->geometry(), DluToPixels(194, 194, 53, 12, units));

    EXPECT_EQ(dialog->Text(D::IDC_ID), QStringLiteral("UTH50040004"));
    EXPECT_EQ(dialog->Text(D::IDC_STATE), GetText(77, 0)); // the demo mission runs
    EXPECT_EQ(dialog->Text(D::IDC_TEMP_CAPTION), QStringLiteral("<  ") + GetText(70, 0) + kUnitF + QStringLiteral("  <"));
    EXPECT_EQ(dialog->Text(D::IDC_HUMI_CAPTION), QStringLiteral("<  ") + GetText(72, 0) + kUnitRH + QStringLiteral("  <"));
    // The logger's limits (15 / 30 C, 30 / 70 %RH) in the unit in force.
    EXPECT_EQ(dialog->Text(D::IDC_TEMP_LOW), QStringLiteral("59"));
    EXPECT_EQ(dialog->Text(D::IDC_TEMP_HIGH), QStringLiteral("86"));
    EXPECT_EQ(dialog->Text(D::IDC_HUMI_LOW), QStringLiteral("30"));
    EXPECT_EQ(dialog->Text(D::IDC_HUMI_HIGH), QStringLiteral("70"));
    EXPECT_EQ(dialog->Text(D::IDC_DESCRIPTION), QStringLiteral("Demo logger"));
    EXPECT_TRUE(dialog->IsEnabled(D::IDC_DESCRIPTION));
    EXPECT_EQ(dialog->Control<QTimeEdit>(D::IDC_INTERVAL)->time(), QTime(0, 10));
    EXPECT_FALSE(dialog->IsEnabled(D::IDC_START));
    EXPECT_TRUE(dialog->IsEnabled(D::IDC_STOP));
    EXPECT_EQ(dialog->Timer().interval(), 1000);
    EXPECT_TRUE(dialog->Timer().isActive());
}

TEST_F(ConfigDlgTest, ATemperatureOnlyLoggerHasNoHumidityRow)
{
    h.display.unit = TempUnit::Celsius;
    Open(3);
    EXPECT_TRUE(dialog->Control(D::IDC_HUMI_GROUP)->isHidden());
    EXPECT_TRUE(dialog->Control(D::IDC_HUMI_LOW)->isHidden());
    EXPECT_TRUE(dialog->Text(D::IDC_HUMI_CAPTION).isEmpty());
    EXPECT_FALSE(dialog->Control(D::IDC_TEMP_LOW)->isHidden());
    EXPECT_EQ(dialog->Text(D::IDC_TEMP_HIGH), QStringLiteral("30"));
}

// Start once asked about erasing the logger's samples before it looked at
// the entries, and "Alarm set wrong!" did not say which pair.
TEST_F(ConfigDlgTest, WrongEntriesAreRefusedBeforeAnyQuestionAndNothingIsSent)
{
    Open(4);
    ASSERT_GT(h.workflow.UndownloadedSamples(), 0);
    struct Case {
        const char *low, *high, *humiLow, *humiHigh, *expected;
    } cases[] = {
        {"abc", "46", "", "", "lower temperature limit"},
        {"35", "99999", "", "", "upper temperature limit"},
        {"90", "86", "", "", "Alarm set wrong!\nTemperature: lower 90.00 is above upper 86.00"},
        {"35", "46", "80", "20.5", "Alarm set wrong!\nHumidity: lower 80.00 is above upper 20.50"},
        {"35", "46", "x", "20", "lower humidity limit"},
    };
    for (const Case& c : cases) {
        messages.clear();
        Type(D::IDC_TEMP_LOW, c.low);
        Type(D::IDC_TEMP_HIGH, c.high);
        Type(D::IDC_HUMI_LOW, c.humiLow);
        Type(D::IDC_HUMI_HIGH, c.humiHigh);
        dialog->OnStart();
        EXPECT_TRUE(questions.isEmpty()) << c.low;
        ASSERT_EQ(messages.size(), 1) << c.low;
        EXPECT_TRUE(messages[0].contains(QString::fromLatin1(c.expected))) << messages[0].toStdString();
        EXPECT_TRUE(logger->m_lastSettings.isEmpty()) << c.low;
    }
    // In Chinese the pair and its values are said in Chinese too.
    h.display.language = LANG_CHINESE;
    messages.clear();
    Type(D::IDC_TEMP_LOW, "90");
    Type(D::IDC_TEMP_HIGH, "86");
    dialog->OnStart();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QString::fromUtf8("报警设置错误!\n温度: 下限 90.00 高于上限 86.00"));
}

TEST_F(ConfigDlgTest, StartAsksNothingWhenNoStartWouldBeSent)
{
    Open(4);
    h.workflow.m_bMayConfigure = 0;
    dialog->OnStart();
    EXPECT_TRUE(questions.isEmpty());
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(logger->m_lastSettings.isEmpty());
}

TEST_F(ConfigDlgTest, StartWarnsOfSamplesNotDownloadedThenStartsTheMission)
{
    Open(4);
    const int held = h.record.m_nCount;
    ASSERT_GT(held, 0);
    h.display.unit = TempUnit::Celsius;
    Type(D::IDC_TEMP_LOW, "2");
    Type(D::IDC_TEMP_HIGH, "8.2");
    Type(D::IDC_DESCRIPTION, "Ward 3 fridge");
    dialog->Control<QTimeEdit>(D::IDC_INTERVAL)->setTime(QTime(1, 30));
    QTest::mouseClick(dialog->Control(D::IDC_START), Qt::LeftButton); // disabled: nothing
    EXPECT_TRUE(questions.isEmpty());
    dialog->OnStart();
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].startsWith(QStringLiteral("The logger holds %1 samples that have not been downloaded. "
                                                       "Starting a new mission erases them.").arg(held)))
        << questions[0].toStdString();
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(logger->m_nIntervalMinutes, 90);
    EXPECT_EQ(logger->m_nHighLimit, 820);
    EXPECT_EQ(logger->m_nLowLimit, 200);
    EXPECT_EQ(logger->m_description.left(13), QByteArray("Ward 3 fridge"));
    EXPECT_EQ(dialog->Text(D::IDC_STATE), GetText(77, 0));
    EXPECT_FALSE(dialog->IsEnabled(D::IDC_START));
    EXPECT_TRUE(dialog->IsEnabled(D::IDC_STOP));

    questions.clear();
    dialog->OnStop();
    ASSERT_EQ(questions.size(), 1);
    EXPECT_EQ(questions[0], GetText(81, 0));
    EXPECT_EQ(logger->m_nRunState, 0);
    EXPECT_EQ(dialog->Text(D::IDC_STATE), GetText(76, 0));
    EXPECT_TRUE(dialog->IsEnabled(D::IDC_START));
    EXPECT_FALSE(dialog->IsEnabled(D::IDC_STOP));
    // The stop read the new mission's one sample: that is what Start would erase now.
    questions.clear();
    dialog->OnStart();
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].startsWith(QStringLiteral("The logger holds 1 sample that has not been downloaded.")))
        << questions[0].toStdString();
}

TEST_F(ConfigDlgTest, LowBatteryWarnsAndKeepsStartDisabled)
{
    Open(4);
    CLoggerRecord& r = h.record;
    r.m_nRunState = 0;
    r.m_bStatusValid = 1;
    r.m_nBattery = 6;
    dialog->OnLoggerClock();
    EXPECT_TRUE(dialog->IsEnabled(D::IDC_START));
    EXPECT_TRUE(dialog->Text(D::IDC_WARNING).trimmed().isEmpty());
    r.m_nBattery = 2;
    dialog->OnLoggerClock();
    EXPECT_FALSE(dialog->IsEnabled(D::IDC_START));
    EXPECT_EQ(dialog->Text(D::IDC_WARNING), GetText(143, 0));
    r.m_nBattery = 8 + 2; // the gauge reads the level modulo 8
    dialog->OnLoggerClock();
    EXPECT_FALSE(dialog->IsEnabled(D::IDC_START));
    r.m_nBattery = 8 + 6;
    dialog->OnLoggerClock();
    EXPECT_TRUE(dialog->IsEnabled(D::IDC_START));
}

// The dialog hears the logger's clock and status reports while it is open,
// and only then: a report after it closed reaches the other listeners alone.
TEST_F(ConfigDlgTest, TakesTheLoggersClockReportsWhileOpen)
{
    Open(4);
    CLoggerRecord& r = h.record;
    r.m_nRunState = 0;
    r.m_bStatusValid = 1;
    r.m_nBattery = 2;
    ISerialEvents* events = h.serial.m_pEvents;
    ASSERT_NE(events, nullptr);
    events->OnLoggerClock();
    EXPECT_NE(dialog->Text(D::IDC_WARNING), GetText(143, 0)); // delivered later, not inside the report
    h.Pump();
    EXPECT_EQ(dialog->Text(D::IDC_WARNING), GetText(143, 0));
    EXPECT_FALSE(dialog->IsEnabled(D::IDC_START));
    dialog.reset();
    events->OnLoggerClock();
    h.Pump();
    EXPECT_EQ(h.configDialogClocks, 2);
}

TEST_F(ConfigDlgTest, ClosesOnEscapeAndWhenTheLoggerGoesAway)
{
    Open(4);
    dialog->show();
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    dialog->show();
    dialog->OnTimerTick();
    EXPECT_TRUE(dialog->isVisible());
    usb.Unplug(0, false);
    h.usb.ForgetPresence(); // what the workflow does when the device goes
    dialog->OnTimerTick();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

TEST_F(ConfigDlgTest, ScaledDialogGrowsItsControlsAboutTheirCentres)
{
    Open(4, 1.5f);
    QFont base = DialogFont();
    const DialogBaseUnits units = BaseUnitsOf(base);
    const QRect plain = DluToPixels(335, 81, 50, 16, units);
    EXPECT_EQ(dialog->Control(D::IDC_START)->geometry(), ScaleControlRect(plain, 1.5f));
    EXPECT_EQ(dialog->Control(D::IDC_START)->font().pixelSize(), ScaledFont(base, 1.5f).pixelSize());
}

TEST(ConfigFieldsTest, IntervalPickerAndLimitTexts)
{
    EXPECT_EQ(IntervalPickerTime(90), QTime(0, 1));
    EXPECT_EQ(IntervalPickerTime(5400), QTime(1, 30));
    EXPECT_EQ(IntervalPickerTime(86400 + 600), QTime(0, 10)); // whole days are not shown
    EXPECT_EQ(IntervalMinutes(QTime(1, 30)), 90);
    EXPECT_EQ(LimitFieldText(8.0f, true), QStringLiteral("46.4"));
    EXPECT_EQ(LimitFieldText(-5.5f, false), QStringLiteral("-5.5"));
    EXPECT_EQ(LimitFieldText(0.0f, false), QStringLiteral("0"));
    EXPECT_EQ(StartQuestion(1, 0).left(44), QStringLiteral("The logger holds 1 sample that has not been "));
}

} // namespace
