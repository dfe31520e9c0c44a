// The parts of the logger workflow that both links share: dispatch,
// start-up detection, the notification routines' effects, progress, units,
// area tabs and the dialog commands.
#include "workflow/LoggerWorkflow.h"

#include "base/TextTable.h"
#include "link/serial/Ch341Library.h"
#include "link/serial/SerialDriver.h"
#include "link/usb/Ch375Library.h"
#include "link/usb/UsbDriver.h"
#include "record/LoggerRecord.h"
#include "record/LoggerType.h"
#include "record/Units.h"

LoggerWorkflow::LoggerWorkflow(IWorkflowView& view, ITimerHost& timers, CLoggerRecord& record, UsbDriver& usb,
                               SerialDriver& serial, DisplaySettings& display)
    : m_view(view), m_timers(timers), m_record(record), m_usb(usb), m_serial(serial),
      m_address(NewMessageAddress()), m_display(display)
{
    m_serial.m_pEvents = this;
    m_serial.m_pDisplay = &display;
    m_usb.SetUsbDisplay(&display);
}

LoggerWorkflow::~LoggerWorkflow()
{
    if (m_serial.m_pEvents == this)
        m_serial.m_pEvents = nullptr;
}

void LoggerWorkflow::Later(std::function<void()> call)
{
    PostToMain(m_address, QueuedCall{std::move(call)});
}

void LoggerWorkflow::PostUsbNotify(unsigned long event) const
{
    PostToMain(m_address, UsbNotify{event});
}

void LoggerWorkflow::PostSerialNotify(int value) const
{
    PostToMain(m_address, SerialNotify{value});
}

bool LoggerWorkflow::StopsOnDownload(int type)
{
    return LoggerTypeOf(type).stopsOnDownload;
}

bool LoggerWorkflow::HasDescription(int type)
{
    return LoggerTypeOf(type).description;
}

bool LoggerWorkflow::SerialLinked() const
{
    return m_serial.m_bLinked;
}

void LoggerWorkflow::SetSerialLinked(bool linked)
{
    m_serial.m_bLinked = linked;
}

void LoggerWorkflow::ForgetPresence()
{
    m_usb.ForgetPresence();
    m_serial.ForgetPresence();
}

bool LoggerWorkflow::LoggerPresent() const
{
    return m_usb.Present() || m_serial.Present();
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
    return m_usb.Device();
}

int LoggerWorkflow::SerialPort() const
{
    return m_serial.Device();
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
    const CLoggerRecord& r = m_record;
    if (SerialLinked()) {
        if (m_serial.m_nReply != 0)
            return LinkState::Busy;
        // Commands wait for the description of a logger that holds one.
        return HasDescription(r.m_nType) && !r.m_bDescRead ? LinkState::Linking : LinkState::Ready;
    }
    // The port check negates the number of a port that went away.
    if (m_serial.Device() < 0)
        return LinkState::NoLogger;
    return m_attachState;
}

void LoggerWorkflow::StartCommand(CommandOutcome::Command command)
{
    m_outcome = CommandOutcome{command, CommandOutcome::Result::None, m_strLastStatus};
    m_audit.reset();
}

void LoggerWorkflow::EndCommand(CommandOutcome::Result result, TextId text, const QString& detail)
{
    m_outcome.result = result;
    m_outcome.reason = detail.isEmpty() ? GetText(ToInt(text), m_display.language) : detail;
    RecordAudit(result, m_outcome.reason);
}

bool LoggerWorkflow::AttachUsb(int index)
{
    if (!m_usb.Attach(index))
        return false;
    m_link = Attached::Usb;
    m_attachState = LinkState::Linking;
    Later([this] { OnUsbEvent(); });
    return true;
}

int LoggerWorkflow::AttachPort(const QString& path, bool& isNew)
{
    const int port = m_serial.AttachPath(path, isNew);
    if (port == 0)
        return 0;
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
    if (m.target != MessageTarget::MainDialog || m_serial.TakeMessage(m) || m.address != m_address)
        return;
    if (const auto* usb = std::get_if<UsbNotify>(&m.body)) {
        if (m_bHotPlug)
            OnUsbNotify(usb->event);
    } else if (const auto* serial = std::get_if<SerialNotify>(&m.body)) {
        if (m_bHotPlug)
            OnSerialNotify(serial->port);
    } else if (const auto* queued = std::get_if<QueuedCall>(&m.body)) {
        if (queued->call)
            queued->call();
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
    m_bHotPlug = true;
    m_link = Attached::None;
    SetSerialLinked(false);
    CH341PtSetDevNotify(nullptr, [this](int value) { PostSerialNotify(value); });
    TextId text = TextId::Ready;
    if (FindUsbDevice()) {
        text = TextId::Connected;
        m_link = Attached::Usb;
        m_attachState = LinkState::Linking;
        Later([this] { OnUsbEvent(); });
    } else if (const int port = FindCh341Port(); port > 0) {
        text = TextId::Connected;
        m_serial.Attach(port);
        m_link = Attached::Serial;
        m_attachState = LinkState::Linking;
        Later([this, port] { OnSerialEvent(port); });
    }
    SetStatus(text);
}

void LoggerWorkflow::Shutdown()
{
    if (m_bHotPlug) {
        CH341PtSetDevNotify(nullptr, nullptr);
        GetCh375Library().CH375SetDeviceNotify(m_usb.Device(), nullptr, nullptr);
    }
    m_serial.Detach();
}

// The highest port of 1..255 that exists and belongs to a CH341, or 0.
int LoggerWorkflow::FindCh341Port()
{
    const std::vector<int> found = m_serial.Scan();
    return found.empty() ? 0 : found.back();
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
        m_serial.Detach();
        SetSerialLinked(false);
        m_link = Attached::None;
    }
    m_record.m_strDescription.clear();
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
        m_usb.Detach();
        m_link = Attached::None;
    }
    m_record.m_strDescription.clear();
    m_serial.m_lastCommand.identifyFlag = 0; // a resend after re-linking must not stop the logger
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
    const CLoggerRecord& r = m_record;
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
    m_record.FormatStatTexts(unit);
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

ILoggerDriver* LoggerWorkflow::CommandDriver()
{
    if (UsbLinked())
        return &m_usb;
    if (SerialLinked() && m_serial.m_nReply == 0)
        return &m_serial;
    return nullptr;
}

void LoggerWorkflow::CalibrateTime()
{
    StartCommand(CommandOutcome::Command::SetClock);
    ILoggerDriver* driver = CommandDriver();
    if (!driver)
        return;
    m_audit = ClockAudit();
    switch (driver->SetClock()) {
    case DriverReply::Refused: break;
    case DriverReply::Sent: m_outcome.result = CommandOutcome::Result::Pending; break; // the answer ends it
    case DriverReply::Done:
        // Identified again, so the record shows the logger's new clock state.
        Later([this] { OnUsbEvent(); });
        SetStatus(TextId::ClockSet);
        EndCommand(CommandOutcome::Result::Done, TextId::ClockSet);
        break;
    case DriverReply::Failed:
        SetStatus(TextId::ClockSetFailed);
        EndCommand(CommandOutcome::Result::Failed, TextId::ClockSetFailed);
        break;
    }
}

void LoggerWorkflow::StartSetting()
{
    m_timers.SetTimer(TIMER_SERIAL_STATUS, 1500);
    m_view.OpenConfigDialog();
}

void LoggerWorkflow::Print()
{
    const CLoggerRecord& r = m_record;
    if (r.m_nReceived > 0 && (r.m_byDataFlags & DATA_FLAG_SAMPLES))
        m_view.OpenPrintDialog();
}
