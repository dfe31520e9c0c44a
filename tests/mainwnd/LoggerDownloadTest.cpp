// The main window with a virtual logger: plug-in, identification, Download
// with the progress bar, the pages afterwards, and pulling the logger out.
// The dialog's timers are held still and ticked by the test. The workflow's
// own cases (failed blocks, a logger pulled out mid-download) are in the
// workflow tests.
#include "base/TextTable.h"
#include "mainwnd/MainDialog.h"
#include "mainwnd/ProgressField.h"
#include "base/QtMessagePoster.h"
#include "views/SummaryPage.h"
#include "record/LoggerRecord.h"
#include "sim/DemoLogger.h"
#include "views/DataListPage.h"
#include "views/GraphPage.h"
#include "views/RecordFixture.h"
#include "views/SampleTableModel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

namespace {

using Dlg = CMainDialog;

void Settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

// Swallows the timer events of the dialog's QTimers, so they tick only when
// the test fires them; started, stopped and their periods stay observable.
class HeldTimers : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::Timer; }
};

QString Number(double value, const QString& unit)
{
    return QString::asprintf("%4.2f", value) + unit;
}

// Events from the serial read thread arrive in real time: wait for them.
constexpr int kSettleMs = 15000;

class LoggerDownload : public ::testing::Test {
protected:
    explicit LoggerDownload(SimulateSpec choice = {.serial = false, .type = 4})
        : demo(choice)
    {
        InstallQtMessagePoster();
        dialog = std::make_unique<Dlg>(DisplaySettings{TempUnit::Celsius}, QSize(1920, 1080));
        for (const int id : {TIMER_USB_DOWNLOAD, TIMER_USB_STATUS, TIMER_SERIAL_RETRY, TIMER_SERIAL_DOWNLOAD,
                             TIMER_SERIAL_STATUS})
            dialog->Timer(id)->installEventFilter(&held);
        dialog->Start();
        Settle();
    }
    ~LoggerDownload() override
    {
        dialog.reset();
        SetMessagePoster({});
    }

    // One tick of a running timer, as its timeout would deliver it.
    bool Fire(int id)
    {
        QTimer* timer = dialog->Timer(id);
        if (!timer->isActive())
            return false;
        QMetaObject::invokeMethod(timer, "timeout");
        Settle();
        return true;
    }
    void Click(int id) { dialog->Control<QAbstractButton>(id)->click(); }
    bool Enabled(int id) const { return dialog->IsButtonEnabled(id); }
    QString Value(int id) const { return dialog->Summary()->Static(id)->text(); }
    int Rows() const { return dialog->DataList()->Model()->rowCount(); }
    std::shared_ptr<CVirtualUsbLogger> Logger() { return demo.Usb().Logger(0); }

    void PlugIn()
    {
        ASSERT_TRUE(demo.PlugIn());
        Settle();
    }

    CDemoLogger demo;
    HeldTimers held;
    std::unique_ptr<Dlg> dialog;
};

} // namespace

TEST_F(LoggerDownload, PlugInDownloadShowsTheRecordOnEveryPage)
{
    PlugIn();
    const int count = Logger()->SampleCount();
    ASSERT_GT(count, 100);
    EXPECT_EQ(dialog->StatusText(), " Instrument has connected.");
    EXPECT_EQ(Value(CSummaryPage::IDC_ID_VALUE), "UTH50040004");
    EXPECT_EQ(Value(CSummaryPage::IDC_DESCRIPTION_VALUE), "Demo logger");
    EXPECT_TRUE(Enabled(Dlg::IDC_DOWNLOAD));
    EXPECT_TRUE(Enabled(Dlg::IDC_START_SETTING));
    EXPECT_FALSE(Enabled(Dlg::IDC_CALIBRATE));
    EXPECT_EQ(Rows(), 0);
    QWidget* saveSelection = dialog->Graph()->Control(CGraphPage::IDC_SAVE_SELECTION);
    EXPECT_FALSE(saveSelection->isEnabled()); // the graph was reset for a record without data

    QTimer* status = dialog->Timer(TIMER_USB_STATUS);
    ASSERT_TRUE(status->isActive());
    EXPECT_EQ(status->interval(), 1000);
    ASSERT_TRUE(Fire(TIMER_USB_STATUS));
    EXPECT_EQ(status->interval(), 5000);
    EXPECT_EQ(dialog->Connection().Record().m_nBattery, 5);

    Click(Dlg::IDC_DOWNLOAD);
    EXPECT_EQ(dialog->StatusText(), " Downloading data...");
    for (const int id : {Dlg::IDC_DOWNLOAD, Dlg::IDC_OPEN, Dlg::IDC_START_SETTING})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_EQ(dialog->Timer(TIMER_USB_DOWNLOAD)->interval(), 50);

    // The progress field was a blank box: it says how far the download is.
    auto* field = dialog->Control<CProgressField>(Dlg::IDC_PROGRESS);
    field->HoldTimer().installEventFilter(&held);
    const auto progressText = [count](int received) {
        return QString::fromUtf8("%1 % · %2 of %3 samples").arg(received * 100 / count).arg(received).arg(count);
    };
    std::vector<int> positions;
    QStringList texts;
    while (Fire(TIMER_USB_DOWNLOAD)) {
        positions.push_back(dialog->Progress());
        texts << (field->isTextVisible() ? field->text() : QString());
    }
    ASSERT_EQ(static_cast<int>(positions.size()), (count + 7) / 8);
    EXPECT_EQ(positions.front(), static_cast<int>(8.0f / static_cast<float>(count) * 195.0f + 5.0f));
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end() - 1));
    EXPECT_EQ(positions.back(), 0); // cleared once complete
    EXPECT_EQ(texts.front(), progressText(8));
    EXPECT_EQ(texts[texts.size() / 2], progressText(8 * static_cast<int>(texts.size() / 2 + 1)));
    // The end stays shown a moment, full, then the field is blank again.
    EXPECT_EQ(texts.back(), progressText(count));
    EXPECT_EQ(field->value(), field->maximum());
    ASSERT_TRUE(field->HoldTimer().isActive());
    QMetaObject::invokeMethod(&field->HoldTimer(), "timeout");
    EXPECT_FALSE(field->isTextVisible());
    EXPECT_EQ(field->value(), 0);

    EXPECT_EQ(dialog->StatusText(), " Data download is complete.");
    for (const int id : {Dlg::IDC_DOWNLOAD, Dlg::IDC_OPEN, Dlg::IDC_START_SETTING})
        EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_TRUE(status->isActive());

    // The pages show what the logger holds.
    const std::vector<std::int16_t> temps = Logger()->m_temp;
    const std::vector<std::int16_t> humis = Logger()->m_humi;
    const auto [tMin, tMax] = std::minmax_element(temps.begin(), temps.end());
    const auto hMax = std::max_element(humis.begin(), humis.end());
    EXPECT_EQ(Value(CSummaryPage::IDC_COUNT_VALUE), QString::number(count));
    EXPECT_EQ(Value(CSummaryPage::IDC_MAX_VALUE), Number(*tMax / 100.0, kUnitC));
    EXPECT_EQ(Value(CSummaryPage::IDC_MIN_VALUE), Number(*tMin / 100.0, kUnitC));
    EXPECT_EQ(Value(CSummaryPage::IDC_HUMI_MAX_VALUE), Number(*hMax / 100.0, kUnitRH));
    EXPECT_EQ(Rows(), count);
    EXPECT_EQ(dialog->DataList()->Model()->index(count - 1, 2).data().toString(),
              Number(temps.back() / 100.0, kUnitC));
    EXPECT_EQ(dialog->Graph()->Points().sampleCount, count);
    EXPECT_TRUE(saveSelection->isEnabled());

    // Pulled out afterwards: the link is forgotten, the data stays.
    demo.PullOut();
    Settle();
    EXPECT_EQ(dialog->StatusText(), " Instrument disconnected.");
    EXPECT_TRUE(Enabled(Dlg::IDC_DOWNLOAD));
    EXPECT_FALSE(Enabled(Dlg::IDC_START_SETTING));
    ASSERT_TRUE(Fire(TIMER_USB_STATUS));
    EXPECT_FALSE(status->isActive());
    EXPECT_EQ(Rows(), count);
    EXPECT_EQ(Value(CSummaryPage::IDC_MAX_VALUE), Number(*tMax / 100.0, kUnitC));
}

class SerialLoggerDownload : public LoggerDownload {
protected:
    SerialLoggerDownload() : LoggerDownload({.serial = true, .type = 4}) {}
};

TEST_F(SerialLoggerDownload, PlugInDownloadAndPullOutOverThePseudoTerminal)
{
    PlugIn();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return dialog->Workflow().State() == LinkState::Ready && Enabled(Dlg::IDC_START_SETTING); }, kSettleMs));
    EXPECT_EQ(Value(CSummaryPage::IDC_ID_VALUE), "UTH01000001");
    EXPECT_EQ(Value(CSummaryPage::IDC_DESCRIPTION_VALUE), "Virtual serial logger");
    const int count = dialog->Connection().Record().m_nCount;
    ASSERT_GT(count, 100);
    EXPECT_TRUE(dialog->Timer(TIMER_SERIAL_STATUS)->isActive());

    // The status request brings the battery and the logger's clock.
    ASSERT_TRUE(Fire(TIMER_SERIAL_STATUS));
    QWidget* clock = dialog->Control(Dlg::IDC_LOGGER_CLOCK);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->Connection().Record().m_bStatusValid != 0 && !clock->isHidden(); }, kSettleMs));
    EXPECT_GT(dialog->Connection().Record().m_nBattery, 0);

    Click(Dlg::IDC_DOWNLOAD);
    EXPECT_EQ(dialog->StatusText(), " Downloading data...");
    EXPECT_FALSE(Enabled(Dlg::IDC_DOWNLOAD));
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->Connection().Record().m_nReceived >= count; }, kSettleMs));
    ASSERT_TRUE(Fire(TIMER_SERIAL_DOWNLOAD));
    EXPECT_EQ(dialog->StatusText(), " Data download is complete.");
    EXPECT_TRUE(Enabled(Dlg::IDC_DOWNLOAD));
    EXPECT_EQ(dialog->Progress(), 0);
    EXPECT_EQ(Rows(), count);
    EXPECT_EQ(dialog->Graph()->Points().sampleCount, count);

    demo.PullOut();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->Workflow().State() == LinkState::NoLogger; }, kSettleMs));
    Settle();
    EXPECT_EQ(dialog->StatusText(), " Instrument disconnected.");
    EXPECT_EQ(Rows(), count);
    EXPECT_EQ(Value(CSummaryPage::IDC_ID_VALUE), "UTH01000001");
}

TEST(ProgressText, ShareRoundedDownAndTheCountsInBothLanguages)
{
    struct Case {
        int received, count;
        std::uint16_t language;
        const char* text;
    } const cases[] = {
        {530, 1440, 0, "36 % · 530 of 1440 samples"},
        {530, 1440, LANG_CHINESE, "36 % · 已接收 530 / 1440 个数据"},
        {1439, 1440, 0, "99 % · 1439 of 1440 samples"}, // 100 % only when all are in
        {1440, 1440, 0, "100 % · 1440 of 1440 samples"},
        {60000, 60000, 0, "100 % · 60000 of 60000 samples"},
        {0, 0, 0, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DownloadProgressText(c.received, c.count, c.language), QString::fromUtf8(c.text));
}
