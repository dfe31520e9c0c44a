#include "mainwnd/DemoDriver.h"

#include "mainwnd/BatteryStrip.h"
#include "sim/DemoLogger.h"
#include "mainwnd/MainDialog.h"
#include "mainwnd/RunEventsUntil.h"
#include "mainwnd/StationRowModel.h"
#include "record/LoggerRecord.h"

#include <QAbstractButton>
#include <QTimer>

namespace {

constexpr int kDownloadPollMs = 100;
constexpr int kIdentifyTimeoutMs = 20000;
constexpr int kDownloadTimeoutMs = 180000;
constexpr int kBatteryWaitMs = 8000;

} // namespace

CDemoDriver::CDemoDriver(CMainDialog& dialog, CDemoLogger& demo)
    : QObject(&dialog), m_dialog(dialog), m_demo(demo)
{
    m_clock.start();
}

void CDemoDriver::PlugInAfter(int delayMs)
{
    QTimer::singleShot(delayMs, this, [this] {
        if (!m_demo.PlugIn())
            m_dialog.SetStatusText(QStringLiteral(" A virtual logger could not be attached."));
    });
}

// Ready, and the window lets Download be pressed.
bool CDemoDriver::LoggerIdentified() const
{
    return m_dialog.Workflow().State() == LinkState::Ready && m_dialog.IsButtonEnabled(IDC_DOWNLOAD);
}

// The battery level has been read, or this logger shows none.
bool CDemoDriver::BatteryKnown() const
{
    const CLoggerRecord& r = m_dialog.Connection().Record();
    return r.m_nBattery != 0
        || !BatteryStripShowsLogger(m_dialog.Workflow().LoggerLinked(), r.m_nType, r.m_strValue[ROW_ID]);
}

void CDemoDriver::PressDownload()
{
    m_dialog.Control<QAbstractButton>(IDC_DOWNLOAD)->click();
}

void CDemoDriver::DownloadWhenIdentified()
{
    auto* poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [this, poll] {
        if (!LoggerIdentified()) {
            m_identifiedSince = -1;
            return;
        }
        if (m_identifiedSince < 0)
            m_identifiedSince = m_clock.elapsed();
        if (!BatteryKnown() && m_clock.elapsed() - m_identifiedSince < kBatteryWaitMs)
            return;
        poll->stop();
        poll->deleteLater();
        PressDownload();
    });
    poll->start(kDownloadPollMs);
}

bool CDemoDriver::WaitForDemo(bool download, QString& error)
{
    if (!RunEventsUntil([this] { return LoggerIdentified(); }, kIdentifyTimeoutMs)) {
        error = QStringLiteral("the virtual logger was not identified in time");
        return false;
    }
    RunEventsUntil([this] { return BatteryKnown(); }, kBatteryWaitMs);
    if (!download)
        return true;
    PressDownload();
    if (!RunEventsUntil([this] { return m_dialog.Workflow().State() != LinkState::Downloading; }, kDownloadTimeoutMs)) {
        error = QStringLiteral("the download did not end in time");
        return false;
    }
    // A serial download identifies the logger again, which forgets the
    // battery level until the next status poll.
    RunEventsUntil([this] { return BatteryKnown(); }, kBatteryWaitMs);
    return true;
}

bool CDemoDriver::WaitForStation(QString& error)
{
    const auto allEnded = [this] {
        const std::vector<StationRow>& rows = m_dialog.StationRows()->Rows();
        if (static_cast<int>(rows.size()) < m_demo.Count())
            return false;
        for (const StationRow& row : rows)
            if (row.state == StationState::Identifying || row.state == StationState::Downloading)
                return false;
        return true;
    };
    if (!RunEventsUntil(allEnded, kDownloadTimeoutMs)) {
        error = QStringLiteral("the station did not archive every virtual logger in time");
        return false;
    }
    m_dialog.SelectTab(CMainDialog::TabPage::Station);
    return true;
}
