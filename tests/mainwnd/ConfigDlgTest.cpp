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
#include <QLabel>
#include <QDateTime>
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
        dialog->SetStatusReporter([this](const QString& m) { statuses << m; });
    }
    void Type(int id, const QString& text) { dialog->Control<QLineEdit>(id)->setText(text); }

    CVirtualCh375 usb;
    WorkflowHarness h;
    std::shared_ptr<CVirtualUsbLogger> logger;
    std::unique_ptr<CConfigDlg> dialog;
    QStringList questions, messages, statuses;
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
    EXPECT_EQ(dialog->windowTitle(), "Logger Settings");
    EXPECT_EQ(dialog->Text(D::IDC_TEMP_CAPTION), QString::fromUtf8("<  Temperature °F  <"));
    EXPECT_EQ(dialog->Text(D::IDC_HUMI_CAPTION), QStringLiteral("<  Humidity %RH  <"));
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
        {"90", "86", "", "", "Invalid alarm limits!\nTemperature: lower 90.00 is above upper 86.00"},
        {"35", "46", "80", "20.5", "Invalid alarm limits!\nHumidity: lower 80.00 is above upper 20.50"},
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
    // The main window's status line says what was started, from when.
    ASSERT_EQ(statuses.size(), 1);
    const QString started = QStringLiteral(" Started UTH50040004: every 1 h 30 min from ");
    ASSERT_TRUE(statuses[0].startsWith(started)) << statuses[0].toStdString();
    const QDateTime from = QDateTime::fromString(statuses[0].mid(started.size()), QStringLiteral("yyyy-MM-dd HH:mm."));
    EXPECT_LE(std::abs(from.secsTo(QDateTime::currentDateTime())), 120) << statuses[0].toStdString();

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

// Limits typed in degrees F came back shifted by the logger's 0.01 degree C
// grid (60 became 60.01) without a word: each limit now shows, as it is
// typed, what the logger will store.
TEST_F(ConfigDlgTest, EachLimitShowsWhatWillBeStoredAsItIsTyped)
{
    struct Case {
        TempUnit unit;
        int field;
        const char* typed;
        const char* shown;
    } const cases[] = {
        {TempUnit::Fahrenheit, D::IDC_TEMP_LOW, "60", "stored: 60.01°F"},
        {TempUnit::Fahrenheit, D::IDC_TEMP_HIGH, "46.4", "stored: 46.40°F"},
        {TempUnit::Fahrenheit, D::IDC_TEMP_HIGH, "-40", "stored: -40.00°F"},
        {TempUnit::Fahrenheit, D::IDC_TEMP_LOW, "", "stored: 32.00°F"}, // an empty field is 0 °C
        {TempUnit::Fahrenheit, D::IDC_HUMI_LOW, "45.678", "stored: 45.68%RH"},
        {TempUnit::Celsius, D::IDC_TEMP_HIGH, "8.2", "stored: 8.20°C"},
        {TempUnit::Celsius, D::IDC_TEMP_LOW, "abc", "not a number"},
        {TempUnit::Celsius, D::IDC_TEMP_LOW, "400", "out of range"},
        {TempUnit::Fahrenheit, D::IDC_HUMI_HIGH, "99999", "out of range"},
    };
    const std::pair<int, int> stored[] = {{D::IDC_TEMP_LOW, D::IDC_TEMP_LOW_STORED},
                                          {D::IDC_TEMP_HIGH, D::IDC_TEMP_HIGH_STORED},
                                          {D::IDC_HUMI_LOW, D::IDC_HUMI_LOW_STORED},
                                          {D::IDC_HUMI_HIGH, D::IDC_HUMI_HIGH_STORED}};
    Open(4);
    for (const auto& [field, line] : stored)
        EXPECT_FALSE(dialog->Control(line)->isHidden()) << line;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        h.display.unit = c.unit; // the dialog reads the unit in force as the user types
        dialog->Control<QLineEdit>(c.field)->clear();
        QTest::keyClicks(dialog->Control(c.field), QString::fromUtf8(c.typed));
        for (const auto& [field, line] : stored) {
            if (field == c.field) {
                EXPECT_EQ(dialog->Text(line), QString::fromUtf8(c.shown));
            }
        }
    }
}

// A logger that takes only the interval greyed its fields without a word;
// its humidity row is free for saying why.
TEST_F(ConfigDlgTest, FieldsThatAreOffSayWhy)
{
    Open(4);
    EXPECT_TRUE(dialog->Control(D::IDC_NOTE)->isHidden());
    h.record.m_nType = 6;
    h.record.m_strValue[ROW_DESCRIPTION].clear();
    dialog = std::make_unique<CConfigDlg>(h.workflow, h.display, 1.0f);
    for (int id : {D::IDC_TEMP_LOW, D::IDC_TEMP_HIGH, D::IDC_START_TIME, D::IDC_DESCRIPTION})
        EXPECT_FALSE(dialog->IsEnabled(id)) << id;
    EXPECT_FALSE(dialog->Control(D::IDC_NOTE)->isHidden());
    EXPECT_TRUE(dialog->Control(D::IDC_HUMI_GROUP)->isHidden());
    EXPECT_EQ(dialog->Text(D::IDC_NOTE), GetText(TextId::IntervalOnly, 0));
    EXPECT_EQ(dialog->Control<QLineEdit>(D::IDC_DESCRIPTION)->placeholderText(), "This logger keeps no description.");
    for (int id : {D::IDC_TEMP_LOW_STORED, D::IDC_TEMP_HIGH_STORED}) // nothing of them is stored
        EXPECT_TRUE(dialog->Control(id)->isHidden()) << id;
    // Shown whole in the dialog's font.
    const QLabel* note = dialog->Control<QLabel>(D::IDC_NOTE);
    EXPECT_LE(note->heightForWidth(note->width()), note->height());
}

// Stop was offered whatever the logger did.
TEST_F(ConfigDlgTest, StopIsOfferedOnlyWhileTheLoggerRecords)
{
    Open(4);
    const std::pair<int, bool> cases[] = {{1, true}, {0, false}, {2, true}, {0, false}};
    for (const auto& [runState, stop] : cases) {
        h.record.m_nRunState = runState;
        h.record.m_bStatusValid = 1;
        dialog->OnLoggerClock();
        EXPECT_EQ(dialog->IsEnabled(D::IDC_STOP), stop) << runState;
        EXPECT_EQ(dialog->Text(D::IDC_STATE), GetText(RunStateTextId(runState), 0));
    }
}

TEST(ConfigFieldsTest, StartedMissionTexts)
{
    const time64 noon = QDateTime(QDate(2026, 12, 11), QTime(12, 0)).toSecsSinceEpoch();
    struct Case {
        int minutes;
        time64 start, now;
        std::uint16_t language;
        const char* text;
    } const cases[] = {
        {10, noon - 600, noon, 0, " Started UTH50040004: every 10 min from 2026-12-11 12:00."},
        {60, noon + 3600, noon, 0, " Started UTH50040004: every 1 h from 2026-12-11 13:00."},
        {90, noon, noon, 0, " Started UTH50040004: every 1 h 30 min from 2026-12-11 12:00."},
        {90, noon, noon, LANG_CHINESE, " 已启动 UTH50040004: 每 1 小时 30 分钟 记录一次, 自 2026-12-11 12:00 起."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MissionStartedText(QStringLiteral("UTH50040004 "), c.minutes, c.start, c.now, c.language),
                  QString::fromUtf8(c.text));
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
    EXPECT_EQ(StartQuestion(0, LANG_CHINESE), QString::fromUtf8("确定以这些设置启动记录仪吗？"));
    EXPECT_TRUE(StartQuestion(2, LANG_CHINESE).startsWith(QString::fromUtf8("记录仪中有 2 个数据尚未下载。")));
}

} // namespace
