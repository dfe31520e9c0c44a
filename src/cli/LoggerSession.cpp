#include "cli/LoggerSession.h"

#include "base/TextTable.h"
#include "cli/SimulatedLoggers.h"
#include "cli/SingleDeviceCh375.h"
#include "link/FrameTrace.h"
#include "link/LinkGlobals.h"
#include "link/LoggerLink.h"
#include "link/serial/PortTable.h"
#include "link/serial/SerialFrames.h"
#include "record/LoggerRecord.h"
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

bool HasDescription(int type) { return type == 3 || type == 4; }
bool UsbPolled(int type) { return type == 1 || type == 3 || type == 4; }

} // namespace

LoggerSession::LoggerSession(LinkOptions options)
    : m_options(std::move(options)),
      m_loop(m_queue, [this](const Message& m) { Handle(m); }, [this](int id) { m_workflow.OnTimer(id); }),
      m_workflow(m_view, m_loop)
{
    m_queue.Install();
}

LoggerSession::~LoggerSession()
{
    m_workflow.Shutdown();
    if (m_bUsb)
        GetCh375Library().CH375CloseDevice(static_cast<unsigned long>(g_LoggerLink.m_nDeviceIndex));
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
    if (m.target != MessageTarget::MainDialog)
        return;
    m_workflow.OnMessage(m);
    if (m.id == WMU_USB_EVENT)
        m_bUsbEventSeen = true;
    else if (m.id == WMU_SERIAL_EVENT && m.lParam > 0)
        m_bSerialEventSeen = true;
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
    if (m_bUsb && !g_bUsbConnected)
        return Fail(QStringLiteral("the logger on %1 was disconnected").arg(LinkName()));
    if (m_bUsb && m_bUsbEventSeen)
        return Fail(QStringLiteral("the logger on %1 did not answer").arg(LinkName()));
    if (!m_bUsb && m_bSerialEventSeen && !g_LoggerLink.m_ComPort.IsOpen())
        return Fail(QStringLiteral("cannot open %1").arg(m_portPath));
    return Fail(QStringLiteral("no logger answered on %1 within %2 s (identification timed out)").arg(LinkName()).arg(kIdentifyMs / 1000));
}

bool LoggerSession::Identified() const
{
    const CLoggerRecord& r = g_LoggerRecord;
    if (m_bUsb)
        return m_bUsbEventSeen && g_bUsbConnected && r.m_nType != 0;
    return g_bSerialConnected && g_LoggerLink.m_nReply == 0 && (!HasDescription(r.m_nType) || r.m_bDescRead);
}

bool LoggerSession::IdentificationFailed() const
{
    if (m_bUsb)
        return m_bUsbEventSeen && (!g_bUsbConnected || g_LoggerRecord.m_nType == 0);
    return m_bSerialEventSeen && !g_LoggerLink.m_ComPort.IsOpen();
}

bool LoggerSession::AttachSimulated()
{
    const SimulateSpec& chosen = m_options.simulate;
    const time64 now = static_cast<time64>(std::time(nullptr));
    if (chosen.serial) {
        m_virtualSerial = std::make_unique<VirtualSerialLogger>(MakeSimulatedSerialConfig(chosen, now));
        if (!m_virtualSerial->Start())
            return Fail(QStringLiteral("cannot start the virtual serial logger"));
        AttachSerial(m_virtualSerial->Port(), m_virtualSerial->SlavePath());
        return true;
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
    Ch375Library& usb = GetCh375Library();
    const auto device = static_cast<unsigned long>(index);
    if (usb.CH375OpenDevice(device) == Ch375Library::kInvalidHandle)
        return Fail(QStringLiteral("no logger at USB index %1").arg(index));
    usb.CH375CloseDevice(device);
    m_bUsb = true;
    m_usbIndex = index;
    g_LoggerLink.m_nDeviceIndex = index;
    g_bUsbConnected = true;
    PostToMain(WMU_USB_EVENT, 0, -1);
    return true;
}

bool LoggerSession::AttachPort(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return Fail(QStringLiteral("no such port: %1").arg(path));
    PortTable& table = PortTable::Instance();
    const QString device = info.canonicalFilePath();
    int port = table.PortOf(device);
    if (port == 0) {
        port = table.Register(device, false);
        m_registeredPort = port;
    }
    if (port == 0)
        return Fail(QStringLiteral("no free port number for %1").arg(path));
    AttachSerial(port, path);
    return true;
}

void LoggerSession::AttachSerial(int port, const QString& path)
{
    m_bUsb = false;
    m_portPath = path;
    g_LoggerLink.m_nComPort = port;
    PostToMain(WMU_SERIAL_EVENT, 0, port);
}

bool LoggerSession::AttachDetected()
{
    m_workflow.Startup();
    if (g_bUsbConnected) {
        m_bUsb = true;
        m_usbIndex = g_LoggerLink.m_nDeviceIndex;
        return true;
    }
    if (g_LoggerLink.m_nComPort > 0) {
        m_portPath = PortTable::Instance().PathOf(g_LoggerLink.m_nComPort);
        return true;
    }
    return Fail(QStringLiteral("no logger found"));
}

bool LoggerSession::WaitForStatus()
{
    const CLoggerRecord& r = g_LoggerRecord;
    if (m_bUsb) {
        if (!UsbPolled(r.m_nType))
            return true;
        const int before = m_loop.Fired(TIMER_USB_STATUS);
        if (m_loop.RunUntil([&] { return m_loop.Fired(TIMER_USB_STATUS) > before || !g_bUsbConnected; }, kStatusMs)
            && g_bUsbConnected)
            return true;
    } else if (m_loop.RunUntil([this] { return m_workflow.LoggerClockReports() > 0 || !g_bSerialConnected; }, kStatusMs)
               && g_bSerialConnected) {
        return true;
    }
    return Fail(QStringLiteral("the logger on %1 did not report its status").arg(LinkName()));
}

bool LoggerSession::Download()
{
    CLoggerRecord& r = g_LoggerRecord;
    const qsizetype mark = m_view.Statuses().size();
    m_workflow.Download();
    if (!m_workflow.IsDownloading())
        return Fail(QStringLiteral("the download did not start: %1").arg(m_view.LastStatus()));
    while (m_workflow.IsDownloading()) {
        const int before = r.m_nReceived;
        if (!m_loop.RunUntil([&] { return !m_workflow.IsDownloading() || r.m_nReceived != before; }, kStallMs))
            return Fail(QStringLiteral("the logger stopped sending data (%1 of %2 samples)").arg(r.m_nReceived).arg(r.m_nCount));
    }
    m_loop.DeliverPending(); // the last progress of the ending
    if (m_view.Shown(28, mark) && r.m_nReceived == r.m_nCount)
        return true;
    if (!g_bUsbConnected && !g_bSerialConnected)
        return Fail(QStringLiteral("the logger was disconnected during the download"));
    return Fail(QStringLiteral("download failed: %1").arg(m_view.LastStatus()));
}

bool LoggerSession::SetClock()
{
    const CLoggerRecord& r = g_LoggerRecord;
    const QString id = r.m_strValue[ROW_ID];
    if (!m_bUsb && serial::FrameSetClock(r.m_nType, id.isEmpty() ? QChar() : id.front(), 0).length == 0)
        return Fail(QStringLiteral("a type %1 serial logger takes its clock with its settings, not with set-clock").arg(r.m_nType));
    // The serial clock set waits for no other answer to be pending.
    if (!m_bUsb && !m_loop.RunUntil([] { return g_LoggerLink.m_nReply == 0; }, kIdentifyMs))
        return Fail(QStringLiteral("the logger on %1 is busy").arg(LinkName()));
    const qsizetype mark = m_view.Statuses().size();
    m_workflow.CalibrateTime();
    const auto ended = [&] { return m_view.Shown(131, mark) || m_view.Shown(132, mark); };
    // Over USB the command ends before CalibrateTime returns, or was not sent.
    if (m_bUsb && !ended())
        return Fail(QStringLiteral("the clock of logger %1 cannot be set over USB").arg(id.trimmed()));
    m_loop.RunUntil([&] { return ended() || (!g_bUsbConnected && !g_bSerialConnected); }, kClockMs);
    m_loop.DeliverPending();
    if (m_view.Shown(131, mark))
        return true;
    if (m_view.Shown(132, mark))
        return Fail(GetText(132).trimmed());
    if (!g_bUsbConnected && !g_bSerialConnected)
        return Fail(QStringLiteral("the logger was disconnected"));
    return Fail(QStringLiteral("the logger did not confirm the clock within %1 s").arg(kClockMs / 1000));
}
