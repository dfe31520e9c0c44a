#include "cli/LoggerSession.h"

#include "cli/PortProbe.h"
#include "cli/SingleDeviceCh375.h"
#include "link/FrameTrace.h"
#include "link/usb/Ch375Library.h"
#include "link/serial/PortTable.h"
#include "record/LoggerRecord.h"
#include "record/LoggerType.h"
#include "sim/SimulatedLoggers.h"
#include "sim/serial/VirtualSerialLogger.h"
#include "sim/usb/VirtualCh375.h"

#include <QFileInfo>
#include <ctime>

namespace {

constexpr int kIdentifyMs = 15000;
// The first serial status poll comes 6.5 s after a description was read.
constexpr int kStatusMs = 12000;
// The serial clock set has four attempts five seconds apart.
constexpr int kClockMs = 25000;
// Longer than the serial download watchdog's own patience, so the workflow
// decides a failed download and this is only the last resort.
constexpr int kStallMs = 45000;

} // namespace

LoggerSession::LoggerSession(LinkOptions options, const DisplaySettings& display)
    : m_options(std::move(options)),
      m_loop(m_queue, [this](const Message& m) { Handle(m); }, [this](int id) { m_workflow.OnTimer(id); }),
      m_display(display), m_connection(m_view, m_loop, m_display)
{
    m_queue.Install();
}

LoggerSession::~LoggerSession()
{
    m_workflow.Shutdown();
    if (m_bUsb)
        GetCh375Library().CH375CloseDevice(static_cast<unsigned long>(m_usbIndex));
    if (m_virtualSerial)
        m_virtualSerial->Stop();
    if (m_registeredPort > 0)
        PortTable::Instance().Unregister(m_registeredPort);
    if (m_virtualUsb || m_singleUsb)
        SetCh375Library(nullptr);
    SetMessagePoster(nullptr);
    FrameTrace::Instance().Stop();
}

bool LoggerSession::Fail(const QString& reason)
{
    m_error = reason;
    return false;
}

QString LoggerSession::LinkName() const
{
    return m_bUsb ? QStringLiteral("USB %1").arg(m_usbIndex) : QStringLiteral("serial %1").arg(m_portPath);
}

void LoggerSession::Handle(const Message& m)
{
    m_workflow.OnMessage(m);
}

bool LoggerSession::StartTrace()
{
    if (m_options.tracePath.isEmpty() || FrameTrace::Instance().Start(m_options.tracePath))
        return true;
    return Fail(QStringLiteral("cannot write the frame trace %1").arg(m_options.tracePath));
}

bool LoggerSession::Connect()
{
    if (!StartTrace())
        return false;
    bool attached = false;
    switch (m_options.link) {
    case LinkOptions::Link::Detect: attached = AttachDetected(); break;
    case LinkOptions::Link::Usb:
        m_singleUsb = std::make_unique<SingleDeviceCh375>(GetCh375Library(), m_options.usbIndex);
        SetCh375Library(m_singleUsb.get());
        attached = AttachUsb(m_options.usbIndex);
        break;
    case LinkOptions::Link::Port: attached = AttachPort(m_options.portPath); break;
    case LinkOptions::Link::Simulate: attached = AttachSimulated(); break;
    }
    if (!attached)
        return false;
    m_loop.RunUntil([this] { return Identified() || IdentificationFailed(); }, kIdentifyMs);
    if (Identified())
        return true;
    if (m_bUsb && Gone())
        return Fail(QStringLiteral("the logger on %1 was disconnected").arg(LinkName()));
    if (m_bUsb && IdentificationFailed())
        return Fail(QStringLiteral("the logger on %1 did not answer").arg(LinkName()));
    if (!m_bUsb && IdentificationFailed()) {
        const QString why = PortOpenRefusal(m_portPath);
        return Fail(why.isEmpty() ? QStringLiteral("cannot open %1").arg(m_portPath)
                                  : QStringLiteral("cannot open %1: %2").arg(m_portPath, why));
    }
    return Fail(QStringLiteral("no logger answered on %1 within %2 s (identification timed out)").arg(LinkName()).arg(kIdentifyMs / 1000));
}

bool LoggerSession::Identified() const
{
    return m_workflow.State() == LinkState::Ready;
}

bool LoggerSession::IdentificationFailed() const
{
    const LinkState state = m_workflow.State();
    return state == LinkState::Unanswered || (m_bUsb && state == LinkState::NoLogger);
}

bool LoggerSession::Gone() const
{
    return m_workflow.State() == LinkState::NoLogger;
}

bool LoggerSession::AttachSimulated()
{
    const SimulateSpec& chosen = m_options.simulate;
    const time64 now = static_cast<time64>(std::time(nullptr));
    if (chosen.serial) {
        m_virtualSerial = std::make_unique<VirtualSerialLogger>(MakeSimulatedSerialConfig(chosen, now));
        if (!m_virtualSerial->Start())
            return Fail(QStringLiteral("cannot start the virtual serial logger"));
        return AttachPort(m_virtualSerial->SlavePath());
    }
    QString error;
    auto logger = MakeSimulatedUsbLogger(chosen, now, error);
    if (!logger)
        return Fail(error);
    m_virtualUsb = std::make_unique<CVirtualCh375>();
    m_virtualUsb->Plug(0, std::move(logger), false);
    SetCh375Library(m_virtualUsb.get());
    return AttachUsb(0);
}

bool LoggerSession::AttachUsb(int index)
{
    if (!m_workflow.AttachUsb(index))
        return Fail(QStringLiteral("no logger at USB index %1").arg(index));
    m_bUsb = true;
    m_usbIndex = index;
    return true;
}

bool LoggerSession::AttachPort(const QString& path)
{
    if (!QFileInfo::exists(path))
        return Fail(QStringLiteral("no such port: %1").arg(path));
    bool isNew = false;
    const int port = m_workflow.AttachPort(path, isNew);
    if (port == 0)
        return Fail(QStringLiteral("no free port number for %1").arg(path));
    if (isNew)
        m_registeredPort = port;
    m_bUsb = false;
    m_portPath = path;
    return true;
}

bool LoggerSession::AttachDetected()
{
    m_workflow.Startup();
    if (m_workflow.UsbLinked()) {
        m_bUsb = true;
        m_usbIndex = m_workflow.UsbDevice();
        return true;
    }
    if (m_workflow.State() != LinkState::NoLogger) {
        m_portPath = PortTable::Instance().PathOf(m_workflow.SerialPort());
        return true;
    }
    return Fail(QStringLiteral("no logger found"));
}

bool LoggerSession::WaitForStatus()
{
    if (m_bUsb) {
        if (!LoggerTypeOf(m_connection.Record().m_nType).usbStatusPoll)
            return true;
        const int before = m_loop.Fired(TIMER_USB_STATUS);
        if (m_loop.RunUntil([&] { return m_loop.Fired(TIMER_USB_STATUS) > before || Gone(); }, kStatusMs) && !Gone())
            return true;
    } else if (m_loop.RunUntil([this] { return m_workflow.LoggerClockReports() > 0 || Gone(); }, kStatusMs) && !Gone()) {
        return true;
    }
    return Fail(QStringLiteral("the logger on %1 did not report its status").arg(LinkName()));
}

bool LoggerSession::Download()
{
    const CLoggerRecord& r = m_connection.Record();
    const CommandOutcome& outcome = m_workflow.LastOutcome();
    m_workflow.Download();
    if (!m_workflow.IsDownloading())
        return Fail(QStringLiteral("the download did not start: %1").arg(outcome.reason.trimmed()));
    while (m_workflow.IsDownloading()) {
        const int before = r.m_nReceived;
        if (!m_loop.RunUntil([&] { return !m_workflow.IsDownloading() || r.m_nReceived != before; }, kStallMs))
            return Fail(QStringLiteral("the logger stopped sending data (%1 of %2 samples)").arg(r.m_nReceived).arg(r.m_nCount));
    }
    m_loop.DeliverPending(); // the last progress of the ending
    if (outcome.result == CommandOutcome::Result::Done && r.m_nReceived == r.m_nCount)
        return true;
    if (Gone())
        return Fail(QStringLiteral("the logger was disconnected during the download"));
    return Fail(QStringLiteral("download failed: %1").arg(outcome.reason.trimmed()));
}

bool LoggerSession::SetClock()
{
    const CLoggerRecord& r = m_connection.Record();
    const QString id = r.m_strValue[ROW_ID];
    if (!m_bUsb && SerialClockFrameOf(r.m_nType, id) == SerialClockFrame::None)
        return Fail(QStringLiteral("a type %1 serial logger takes its clock with its settings, not with set-clock").arg(r.m_nType));
    if (!WaitUntilIdle())
        return false;
    const CommandOutcome& outcome = m_workflow.LastOutcome();
    m_workflow.CalibrateTime();
    using Result = CommandOutcome::Result;
    // Over USB the command ends before CalibrateTime returns, or was not sent.
    if (m_bUsb && outcome.result != Result::Done && outcome.result != Result::Failed)
        return Fail(QStringLiteral("the clock of logger %1 cannot be set over USB").arg(id.trimmed()));
    return AwaitOutcome(QStringLiteral("the logger did not confirm the clock within %1 s").arg(kClockMs / 1000));
}

// A serial command waits for no other answer to be pending.
bool LoggerSession::WaitUntilIdle()
{
    if (m_bUsb || m_loop.RunUntil([this] { return m_workflow.State() != LinkState::Busy; }, kIdentifyMs))
        return true;
    return Fail(QStringLiteral("the logger on %1 is busy").arg(LinkName()));
}

// The end of a command: at once over USB, when the logger answers (or the
// retries run out) over the serial link; noAnswer is the failure after the
// time limit.
bool LoggerSession::AwaitOutcome(const QString& noAnswer)
{
    using Result = CommandOutcome::Result;
    const CommandOutcome& outcome = m_workflow.LastOutcome();
    const auto ended = [&] { return outcome.result == Result::Done || outcome.result == Result::Failed; };
    m_loop.RunUntil([&] { return ended() || Gone(); }, kClockMs);
    m_loop.DeliverPending();
    if (outcome.result == Result::Done)
        return true;
    if (outcome.result == Result::Failed)
        return Fail(outcome.reason.trimmed());
    if (Gone())
        return Fail(QStringLiteral("the logger was disconnected"));
    return Fail(noAnswer);
}

// The end of a Start or Stop.
bool LoggerSession::AwaitMission(const char* what)
{
    return AwaitOutcome(
        QStringLiteral("the logger did not answer the %1 within %2 s").arg(QLatin1String(what)).arg(kClockMs / 1000));
}

bool LoggerSession::Start(const MissionSettings& settings, const std::optional<QString>& description)
{
    if (!WaitUntilIdle())
        return false;
    if (!m_workflow.StartMission(settings, description).sent)
        return Fail(QStringLiteral("the logger on %1 cannot be started now").arg(LinkName()));
    return AwaitMission("settings");
}

bool LoggerSession::Stop()
{
    if (!WaitUntilIdle())
        return false;
    if (!m_workflow.StopMission())
        return Fail(QStringLiteral("the logger on %1 cannot be stopped now").arg(LinkName()));
    return AwaitMission("stop");
}
