// The USB half of the logger workflow: identification, status poll,
// download one block per tick, and the clock-set command.
#include "workflow/LoggerWorkflow.h"

#include "base/CodePage.h"
#include "base/TextTable.h"
#include "link/usb/Ch375Library.h"
#include "link/usb/UsbDriver.h"
#include "record/LoggerRecord.h"
#include "record/LoggerType.h"
#include "workflow/DownloadLimit.h"

#include <cstring>

namespace {

constexpr int kUsbDownloadMs = 50;
constexpr int kUsbStatusFirstMs = 1000;
constexpr int kUsbStatusMs = 5000;
constexpr int kBlockAttempts = 5;
constexpr int kDescriptionBytes = 50;

bool HasStatusPoll(int type) { return LoggerTypeOf(type).usbStatusPoll; }

} // namespace

// Reads the description of a logger that holds one into its summary row.
bool LoggerWorkflow::ReadDescriptionRow()
{
    std::uint8_t buffer[60] = {};
    if (!m_usb.ReadDescription(buffer, kDescriptionBytes))
        return false;
    const auto length = static_cast<qsizetype>(strnlen(reinterpret_cast<const char*>(buffer), sizeof buffer));
    m_record.m_strValue[ROW_DESCRIPTION] = FromAnsi(QByteArray(reinterpret_cast<const char*>(buffer), length));
    m_record.m_bDescRead = 1;
    return true;
}

// Looks at CH375 devices 0..15; the highest one present becomes the
// driver's device. The notification routine is registered for it (or for
// the index kept so far when none is present).
bool LoggerWorkflow::FindUsbDevice()
{
    const std::vector<int> found = m_usb.Scan();
    if (!found.empty())
        m_usb.SelectDevice(found.back());
    GetCh375Library().CH375SetDeviceNotify(m_usb.Device(), nullptr, [this](unsigned long event) { PostUsbNotify(event); });
    return !found.empty();
}

void LoggerWorkflow::OnUsbEvent()
{
    CLoggerRecord& r = m_record;
    m_bMayConfigure = 0;
    m_view.CommandsChanged(AvailableCommands().Set(WorkflowCommand::StartSetting, false).Set(WorkflowCommand::Calibrate, false));
    r.m_nBattery = 0;
    r.m_bStatusValid = 0;
    m_view.BatteryChanged();
    if (!UsbLinked()) {
        ForgetPresence();
        r.m_bDescRead = 0;
        m_view.CommandsChanged(DownloadAndOpen(true));
        return;
    }
    r.m_byDataFlags = 0;
    if (m_bHotPlug)
        FindUsbDevice();
    const bool opened = m_usb.OpenUsbDevice();
    r.m_nType = 0;
    r.m_bDescRead = 0;
    if (!opened) {
        ForgetPresence();
        m_attachState = LinkState::Unanswered;
        return;
    }
    r.m_nRowFlags = 0;
    m_usb.Identify(false);
    m_usb.Identify(false);
    r.SetTypeText(m_display.language);
    m_attachState = IsKnownType(r.m_nType) ? LinkState::Ready : LinkState::Unanswered;
    ApplyUsbType();
    r.m_nReceived = 0;
    m_view.BatteryChanged();
    m_view.ShowRecord();
    m_view.GraphReset(false);
}

void LoggerWorkflow::ApplyUsbType()
{
    CLoggerRecord& r = m_record;
    const bool configurable = HasStatusPoll(r.m_nType);
    m_bMayConfigure = configurable ? 1 : 0;
    m_view.CommandsChanged(AvailableCommands().Set(WorkflowCommand::StartSetting, configurable));
    r.m_nBattery = 0;
    r.m_bStatusValid = 0;
    if (configurable) {
        if (HasDescription(r.m_nType) && ReadDescriptionRow())
            r.m_nRowFlags |= RF_DESCRIPTION;
        m_timers.SetTimer(TIMER_USB_STATUS, kUsbStatusFirstMs);
    } else if (LoggerTypeOf(r.m_nType).clockCommand && !r.m_bTimesValid) {
        m_view.CommandsChanged(AvailableCommands().Set(WorkflowCommand::Calibrate, true));
    }
}

void LoggerWorkflow::OnUsbStatusTick()
{
    CLoggerRecord& r = m_record;
    if (UsbLinked() && HasStatusPoll(r.m_nType)) {
        if (!m_bDownloading)
            m_usb.ReadStatus();
        m_timers.SetTimer(TIMER_USB_STATUS, kUsbStatusMs);
    } else {
        r.m_nBattery = 0;
        r.m_bStatusValid = 0;
        m_timers.KillTimer(TIMER_USB_STATUS);
    }
    m_view.BatteryChanged();
}

void LoggerWorkflow::DownloadUsb()
{
    CLoggerRecord& r = m_record;
    if (!m_usb.OpenUsbDevice())
        return;
    const bool bStop = StopsOnDownload(r.m_nType);
    m_bDownloading = true;
    m_view.CommandsChanged(DownloadAndOpen(false).Set(WorkflowCommand::StartSetting, false));
    SetStatus(TextId::Connecting);
    if (m_usb.Download(bStop) != DriverReply::Done) {
        m_bDownloading = false;
        m_view.CommandsChanged(DownloadAndOpen(true).Set(WorkflowCommand::StartSetting, m_bMayConfigure != 0));
        SetStatus(TextId::Malfunctioning);
        EndCommand(CommandOutcome::Result::Failed, TextId::Malfunctioning);
        return;
    }
    if (const QString oversized = OversizedDownloadReason(r.m_nCount); !oversized.isEmpty()) {
        EndUsbDownload(TextId::DownloadFailed, oversized);
        return;
    }
    if (HasDescription(r.m_nType)) {
        r.m_bDescRead = 0;
        ReadDescriptionRow();
    }
    r.m_nReceived = 0;
    m_nNextIndex = 0;
    m_nRemaining = r.m_nCount;
    m_outcome.result = CommandOutcome::Result::Pending;
    m_timers.SetTimer(TIMER_USB_DOWNLOAD, kUsbDownloadMs);
    SetStatus(TextId::Downloading);
}

bool LoggerWorkflow::ReadNextBlock(int n)
{
    const int width = LoggerTypeOf(m_record.m_nType).sampleBytes;
    for (int attempt = 0; attempt < kBlockAttempts; ++attempt)
        if (m_usb.ReadBlock(m_nNextIndex * width, n * width, m_usb.m_fBlock))
            return true;
    return false;
}

void LoggerWorkflow::OnUsbDownloadTick()
{
    CLoggerRecord& r = m_record;
    m_timers.KillTimer(TIMER_USB_DOWNLOAD);
    if (!m_bDownloading)
        return;
    const int maxBlock = LoggerTypeOf(r.m_nType).usbBlockSamples;
    const int n = m_nRemaining < maxBlock ? m_nRemaining : maxBlock;
    if (n <= 0) { // a logger with no samples: nothing to read
        CompleteUsbDownload();
        return;
    }
    if (!ReadNextBlock(n)) {
        // A block that fails every attempt ends the download: nothing after
        // it could be stored in order, so waiting on would never finish.
        EndUsbDownload(TextId::DownloadFailed);
        return;
    }
    r.StoreSamples(m_nNextIndex, m_usb.m_fBlock, n);
    m_nNextIndex += n;
    m_nRemaining = r.m_nCount - m_nNextIndex;
    r.m_nReceived += n;
    Later([this] { ShowProgress(true); });
    if (r.m_nReceived < r.m_nCount) {
        m_timers.SetTimer(TIMER_USB_DOWNLOAD, kUsbDownloadMs);
        return;
    }
    CompleteUsbDownload();
}

// Ends a download that cannot go on, as a failed serial download ends.
void LoggerWorkflow::EndUsbDownload(TextId text, const QString& detail)
{
    m_timers.KillTimer(TIMER_USB_DOWNLOAD);
    m_bDownloading = false;
    m_view.CommandsChanged(DownloadAndOpen(true).Set(WorkflowCommand::StartSetting, m_bMayConfigure != 0));
    Later([this] { ShowProgress(false); });
    SetStatus(text);
    EndCommand(CommandOutcome::Result::Failed, text, detail);
}

void LoggerWorkflow::CompleteUsbDownload()
{
    CLoggerRecord& r = m_record;
    r.BuildTimeTable();
    r.m_nReceived = r.m_nCount;
    r.Recompute(false, m_display.unit);
    m_view.BatteryChanged();
    m_view.UpdateSummaryValues();
    m_view.RefreshDataViews();
    m_bDownloading = false;
    m_view.CommandsChanged(DownloadAndOpen(true));
    NoteDownloaded();
    Later([this] { ShowProgress(false); });
    m_view.RecordChanged();
    SetStatus(TextId::DownloadComplete);
    EndCommand(CommandOutcome::Result::Done, TextId::DownloadComplete);
    m_timers.KillTimer(TIMER_USB_DOWNLOAD);
    m_view.GraphReset(true);
}
