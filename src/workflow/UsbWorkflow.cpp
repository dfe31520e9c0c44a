// The USB half of the logger workflow: identification, status poll,
// download one block per tick, and the clock-set command.
#include "workflow/LoggerWorkflow.h"

#include "base/CodePage.h"
#include "base/TextTable.h"
#include "link/LinkGlobals.h"
#include "link/LoggerLink.h"
#include "link/usb/Ch375Library.h"
#include "link/usb/SettingsFrame.h"
#include "record/LoggerRecord.h"
#include "record/LoggerType.h"
#include "workflow/DownloadLimit.h"

#include <cstring>
#include <ctime>

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
    if (!g_LoggerLink.ReadDescription(buffer, kDescriptionBytes))
        return false;
    const auto length = static_cast<qsizetype>(strnlen(reinterpret_cast<const char*>(buffer), sizeof buffer));
    g_LoggerRecord.m_strValue[ROW_DESCRIPTION] = FromAnsi(QByteArray(reinterpret_cast<const char*>(buffer), length));
    g_LoggerRecord.m_bDescRead = 1;
    return true;
}

// Looks at CH375 devices 0..15; the highest one present becomes the link's
// device. The notification routine is registered for it (or for the index
// kept so far when none is present).
bool LoggerWorkflow::FindUsbDevice()
{
    Ch375Library& usb = GetCh375Library();
    bool found = false;
    for (int index = 0; index < Ch375Library::kMaxDevices; ++index) {
        if (usb.CH375OpenDevice(index) == Ch375Library::kInvalidHandle)
            continue;
        usb.CH375CloseDevice(index);
        g_LoggerLink.m_nDeviceIndex = index;
        found = true;
    }
    usb.CH375SetDeviceNotify(g_LoggerLink.m_nDeviceIndex, nullptr, PostUsbNotify);
    return found;
}

void LoggerWorkflow::OnUsbEvent()
{
    CLoggerRecord& r = g_LoggerRecord;
    m_bMayConfigure = 0;
    m_view.CommandsChanged(AvailableCommands().Set(WorkflowCommand::StartSetting, false).Set(WorkflowCommand::Calibrate, false));
    r.m_nBattery = 0;
    r.m_bStatusValid = 0;
    m_view.BatteryChanged();
    if (!UsbLinked()) {
        g_LoggerLink.m_bUsbOpen = 0;
        r.m_bDescRead = 0;
        m_view.CommandsChanged(DownloadAndOpen(true));
        return;
    }
    r.m_byDataFlags = 0;
    FindUsbDevice();
    const bool opened = g_LoggerLink.OpenUsbDevice();
    r.m_nType = 0;
    r.m_bDescRead = 0;
    if (!opened) {
        g_LoggerLink.m_bUsbOpen = 0;
        m_attachState = LinkState::Unanswered;
        return;
    }
    r.m_nRowFlags = 0;
    g_LoggerLink.ReadInfo(false);
    g_LoggerLink.ReadInfo(false);
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
    CLoggerRecord& r = g_LoggerRecord;
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
    CLoggerRecord& r = g_LoggerRecord;
    if (UsbLinked() && HasStatusPoll(r.m_nType)) {
        if (!m_bDownloading)
            g_LoggerLink.ReadRunState(r.m_nRunState, r.m_nBattery);
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
    CLoggerRecord& r = g_LoggerRecord;
    if (!g_LoggerLink.OpenUsbDevice())
        return;
    const bool bStop = StopsOnDownload(r.m_nType);
    m_bDownloading = true;
    m_view.CommandsChanged(DownloadAndOpen(false).Set(WorkflowCommand::StartSetting, false));
    SetStatus(TextId::Connecting);
    if (!g_LoggerLink.ReadInfo(bStop)) {
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
    const int width = LoggerTypeOf(g_LoggerRecord.m_nType).sampleBytes;
    for (int attempt = 0; attempt < kBlockAttempts; ++attempt)
        if (g_LoggerLink.ReadBlock(m_nNextIndex * width, n * width, g_LoggerLink.m_fBlock))
            return true;
    return false;
}

void LoggerWorkflow::OnUsbDownloadTick()
{
    CLoggerRecord& r = g_LoggerRecord;
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
    r.StoreSamples(m_nNextIndex, g_LoggerLink.m_fBlock, n);
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
    CLoggerRecord& r = g_LoggerRecord;
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

void LoggerWorkflow::CalibrateUsb()
{
    UsbFrame frame;
    const QString id = g_LoggerRecord.m_strValue[ROW_ID].left(11);
    if (!BuildClockFrame(id, static_cast<time64>(std::time(nullptr)), frame))
        return;
    if (g_LoggerLink.WriteSettings(frame.bytes.data(), frame.length)) {
        Later([this] { OnUsbEvent(); });
        SetStatus(TextId::ClockSet);
        EndCommand(CommandOutcome::Result::Done, TextId::ClockSet);
    } else {
        SetStatus(TextId::ClockSetFailed);
        EndCommand(CommandOutcome::Result::Failed, TextId::ClockSetFailed);
    }
}
