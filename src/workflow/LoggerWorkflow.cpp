// The parts of the logger workflow that both links share: dispatch,
// start-up detection, the notification routines' effects, progress, units,
// area tabs and the dialog commands.
#include "workflow/LoggerWorkflow.h"

#include "base/TextTable.h"
#include "link/LinkGlobals.h"
#include "link/LoggerLink.h"
#include "link/serial/Ch341Library.h"
#include "link/serial/Ch341Ports.h"
#include "link/serial/PortTable.h"
#include "link/usb/Ch375Library.h"
#include "record/LoggerRecord.h"
#include "record/LoggerType.h"
#include "record/Units.h"

#include <QFileInfo>

namespace {

// The highest port of 1..255 that exists and belongs to a CH341, or 0.
int FindCh341Port()
{
    LsComm::CComPort& port = g_LoggerLink.m_ComPort;
    port.ClosePort();
    const std::vector<int> found = ScanCh341Ports(port);
    return found.empty() ? 0 : found.back();
}

} // namespace

LoggerWorkflow::LoggerWorkflow(IWorkflowView& view, ITimerHost& timers, DisplaySettings& display)
    : m_view(view), m_timers(timers), m_display(display)
{
    g_LoggerLink.m_pEvents = this;
    g_LoggerLink.m_pDisplay = &display;
    g_LoggerLink.SetUsbDisplay(&display);
}

LoggerWorkflow::~LoggerWorkflow()
{
    if (g_LoggerLink.m_pEvents == this)
        g_LoggerLink.m_pEvents = nullptr;
    if (g_LoggerLink.m_pDisplay == &m_display) {
        g_LoggerLink.m_pDisplay = &kDefaultDisplay;
        g_LoggerLink.SetUsbDisplay(nullptr);
    }
}

void LoggerWorkflow::Later(std::function<void()> call)
{
    Message message{MessageTarget::MainDialog, WMU_QUEUED_CALL, 0, 0, {}};
    message.call = std::move(call);
    PostMessageTo(std::move(message));
}

void LoggerWorkflow::PostUsbNotify(unsigned long event)
{
    PostToMain(WMU_USB_NOTIFY, static_cast<std::intptr_t>(event), 0);
}

void LoggerWorkflow::PostSerialNotify(int value)
{
    PostToMain(WMU_SERIAL_NOTIFY, 0, value);
}

bool LoggerWorkflow::StopsOnDownload(int type)
{
    return LoggerTypeOf(type).stopsOnDownload;
}

bool LoggerWorkflow::HasDescription(int type)
{
    return LoggerTypeOf(type).description;
}

bool LoggerWorkflow::SerialLinked()
{
    return g_bSerialConnected;
}

void LoggerWorkflow::SetSerialLinked(bool linked)
{
    g_bSerialConnected = linked;
}

void LoggerWorkflow::SetStatus(TextId text)
{
    ShowStatusText(GetText(ToInt(text), m_display.language));
}

void LoggerWorkflow::ShowStatusText(const QString& text)
{
    if (!text.trimmed().isEmpty())
        m_strLastStatus = text;
    m_view.SetStatusText(text);
}

int LoggerWorkflow::UsbDevice() const
{
    return g_LoggerLink.m_nDeviceIndex;
}

int LoggerWorkflow::SerialPort() const
{
    return g_LoggerLink.m_nComPort;
}

LinkState LoggerWorkflow::State() const
{
    if (m_bDownloading)
        return LinkState::Downloading;
    switch (m_link) {
    case Attached::None: return LinkState::NoLogger;
    case Attached::Usb: return m_attachState;
    case Attached::Serial: return SerialState();
    }
    return LinkState::NoLogger;
}

LinkState LoggerWorkflow::SerialState() const
{
    const CLoggerRecord& r = g_LoggerRecord;
    if (SerialLinked()) {
        if (g_LoggerLink.m_nReply != 0)
            return LinkState::Busy;
        // Commands wait for the description of a logger that holds one.
        return HasDescription(r.m_nType) && !r.m_bDescRead ? LinkState::Linking : LinkState::Ready;
    }
    // The port check negates the number of a port that went away.
    if (g_LoggerLink.m_nComPort < 0)
        return LinkState::NoLogger;
    return m_attachState;
}

void LoggerWorkflow::StartCommand(CommandOutcome::Command command)
{
    m_outcome = CommandOutcome{command, CommandOutcome::Result::None, m_strLastStatus};
}

void LoggerWorkflow::EndCommand(CommandOutcome::Result result, TextId text, const QString& detail)
{
    m_outcome.result = result;
    m_outcome.reason = detail.isEmpty() ? GetText(ToInt(text), m_display.language) : detail;
}

bool LoggerWorkflow::AttachUsb(int index)
{
    Ch375Library& usb = GetCh375Library();
    const auto device = static_cast<unsigned long>(index);
    if (usb.CH375OpenDevice(device) == Ch375Library::kInvalidHandle)
        return false;
    usb.CH375CloseDevice(device);
    g_LoggerLink.m_nDeviceIndex = index;
    m_link = Attached::Usb;
    m_attachState = LinkState::Linking;
    Later([this] { OnUsbEvent(); });
    return true;
}

int LoggerWorkflow::AttachPort(const QString& path, bool& isNew)
{
    isNew = false;
    const QFileInfo info(path);
    if (!info.exists())
        return 0;
    PortTable& table = PortTable::Instance();
    const QString device = info.canonicalFilePath();
    int port = table.PortOf(device);
    if (port == 0) {
        port = table.Register(device, false);
        isNew = port != 0;
    }
    if (port == 0)
        return 0;
    g_LoggerLink.m_nComPort = port;
    m_link = Attached::Serial;
    m_attachState = LinkState::Linking;
    Later([this, port] { OnSerialEvent(port); });
    return port;
}

int LoggerWorkflow::SubscribeLoggerClock(std::function<void()> listener)
{
    m_clockListeners[++m_nNextListener] = std::move(listener);
    return m_nNextListener;
}

void LoggerWorkflow::UnsubscribeLoggerClock(int key)
{
    m_clockListeners.erase(key);
}

void LoggerWorkflow::NotifyLoggerClock()
{
    // A listener may unsubscribe while it is called.
    const auto listeners = m_clockListeners;
    for (const auto& [key, listener] : listeners)
        listener();
}

void LoggerWorkflow::OnMessage(const Message& m)
{
    if (m.target != MessageTarget::MainDialog)
        return;
    switch (m.id) {
    case WMU_USB_NOTIFY: OnUsbNotify(static_cast<unsigned long>(m.wParam)); break;
    case WMU_SERIAL_NOTIFY: OnSerialNotify(static_cast<int>(m.lParam)); break;
    case WMU_SERIAL_DATA: g_LoggerLink.ReceiveMessage(m.wParam, m.payload); break;
    case WMU_QUEUED_CALL:
        if (m.call)
            m.call();
        break;
    default: break;
    }
}

void LoggerWorkflow::OnTimer(int id)
{
    switch (id) {
    case TIMER_USB_DOWNLOAD: OnUsbDownloadTick(); break;
    case TIMER_USB_STATUS: OnUsbStatusTick(); break;
    case TIMER_SERIAL_RETRY: OnSerialRetryTick(); break;
    case TIMER_SERIAL_DOWNLOAD: OnSerialDownloadTick(); break;
    case TIMER_SERIAL_STATUS: OnSerialStatusTick(); break;
    default: break;
    }
}

void LoggerWorkflow::Startup()
{
    m_link = Attached::None;
    SetSerialLinked(false);
    CH341PtSetDevNotify(nullptr, PostSerialNotify);
    TextId text = TextId::Ready;
    if (FindUsbDevice()) {
        text = TextId::Connected;
        m_link = Attached::Usb;
        m_attachState = LinkState::Linking;
        Later([this] { OnUsbEvent(); });
    } else if (const int port = FindCh341Port(); port > 0) {
        text = TextId::Connected;
        g_LoggerLink.m_nComPort = port;
        m_link = Attached::Serial;
        m_attachState = LinkState::Linking;
        Later([this, port] { OnSerialEvent(port); });
    }
    SetStatus(text);
}

void LoggerWorkflow::Shutdown()
{
    CH341PtSetDevNotify(nullptr, nullptr);
    GetCh375Library().CH375SetDeviceNotify(g_LoggerLink.m_nDeviceIndex, nullptr, nullptr);
    g_LoggerLink.m_ComPort.ClosePort();
}

void LoggerWorkflow::BlankClockStatics()
{
    // Empty, not a run of blanks with a character past them: the statics
    // are wide enough to show whatever such padding was meant to push out.
    m_view.SetClockText(QString());
    m_view.SetRunStateText(QString());
}

void LoggerWorkflow::OnUsbNotify(unsigned long event)
{
    if (SerialLinked()) {
        g_LoggerLink.m_ComPort.ClosePort();
        SetSerialLinked(false);
        m_link = Attached::None;
    }
    g_LoggerRecord.m_strDescription.clear();
    if (event == Ch375Library::kDeviceArrived || event == Ch375Library::kDeviceRemoved) {
        const bool arrived = event == Ch375Library::kDeviceArrived;
        SetStatus(arrived ? TextId::Connected : TextId::Disconnecting);
        m_link = arrived ? Attached::Usb : Attached::None;
        m_attachState = LinkState::Linking;
        Later([this] { OnUsbEvent(); });
    }
    BlankClockStatics();
}

void LoggerWorkflow::OnSerialNotify(int value)
{
    if (UsbLinked()) {
        GetCh375Library().CH375CloseDevice(g_LoggerLink.m_nDeviceIndex);
        m_link = Attached::None;
    }
    g_LoggerRecord.m_strDescription.clear();
    g_LoggerLink.m_lastCommand.identifyFlag = 0; // a resend after re-linking must not stop the logger
    if (value > 0) {
        Later([this, value] { OnSerialEvent(value); });
    } else if (value < 0) {
        SetStatus(TextId::Disconnecting);
        SetSerialLinked(false);
        m_link = Attached::None;
        Later([this, value] { OnSerialEvent(value); });
    }
    BlankClockStatics();
}

AvailableCommands LoggerWorkflow::DownloadAndOpen(bool available)
{
    return AvailableCommands().Set(WorkflowCommand::Download, available).Set(WorkflowCommand::Open, available);
}

void LoggerWorkflow::ShowProgress(bool downloading)
{
    const CLoggerRecord& r = g_LoggerRecord;
    int position = 0;
    if (downloading && r.m_nCount > 0) {
        const float done = static_cast<float>(r.m_nReceived) / static_cast<float>(r.m_nCount);
        position = static_cast<int>(done * 195.0f + 5.0f);
    }
    m_view.SetProgress(position);
}

void LoggerWorkflow::SetUnitCelsius()
{
    SetUnit(TempUnit::Celsius);
}

void LoggerWorkflow::SetUnitFahrenheit()
{
    SetUnit(TempUnit::Fahrenheit);
}

void LoggerWorkflow::SetUnit(TempUnit unit)
{
    if (m_display.unit == unit)
        return;
    m_display.unit = unit;
    g_LoggerRecord.FormatStatTexts(unit);
    m_view.UpdateSummaryValues();
    m_view.RefreshDataViews();
}

void LoggerWorkflow::Download()
{
    StartCommand(CommandOutcome::Command::Download);
    if (UsbLinked()) {
        DownloadUsb();
    } else if (SerialLinked()) {
        DownloadSerial();
    } else {
        // Nothing has answered: say so, and how a logger is attached.
        SetStatus(TextId::NoLogger);
        EndCommand(CommandOutcome::Result::None, TextId::NoLogger);
    }
}

void LoggerWorkflow::CalibrateTime()
{
    StartCommand(CommandOutcome::Command::SetClock);
    if (UsbLinked()) {
        CalibrateUsb();
    } else if (SerialLinked() && g_LoggerLink.m_nReply == 0) {
        g_LoggerLink.SerialSetClock();
        m_outcome.result = CommandOutcome::Result::Pending;
    }
}

void LoggerWorkflow::StartSetting()
{
    m_timers.SetTimer(TIMER_SERIAL_STATUS, 1500);
    m_view.OpenConfigDialog();
}

void LoggerWorkflow::Print()
{
    const CLoggerRecord& r = g_LoggerRecord;
    if (r.m_nReceived > 0 && (r.m_byDataFlags & DATA_FLAG_SAMPLES))
        m_view.OpenPrintDialog();
}
