// The parts of the logger workflow that both links share: dispatch,
// start-up detection, the notification routines' effects, progress, units,
// area tabs and the dialog commands.
#include "workflow/LoggerWorkflow.h"

#include "base/TextTable.h"
#include "link/LinkGlobals.h"
#include "link/LoggerLink.h"
#include "link/serial/Ch341Library.h"
#include "link/serial/Ch341Ports.h"
#include "link/usb/Ch375Library.h"
#include "record/LoggerRecord.h"
#include "record/Units.h"

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

LoggerWorkflow::LoggerWorkflow(IWorkflowView& view, ITimerHost& timers)
    : m_view(view), m_timers(timers)
{
    g_LoggerLink.m_pEvents = this;
}

LoggerWorkflow::~LoggerWorkflow()
{
    if (g_LoggerLink.m_pEvents == this)
        g_LoggerLink.m_pEvents = nullptr;
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

void LoggerWorkflow::SetStatus(int textId)
{
    m_view.SetStatusText(GetText(textId));
}

void LoggerWorkflow::PostGraphReset(int wParam)
{
    PostMessageTo(Message{MessageTarget::GraphView, WMU_GRAPH_RESET, wParam, 0, {}});
}

void LoggerWorkflow::OnMessage(const Message& m)
{
    if (m.target != MessageTarget::MainDialog)
        return;
    switch (m.id) {
    case WMU_USB_NOTIFY: OnUsbNotify(static_cast<unsigned long>(m.wParam)); break;
    case WMU_SERIAL_NOTIFY: OnSerialNotify(static_cast<int>(m.lParam)); break;
    case WMU_SERIAL_DATA: g_LoggerLink.ReceiveChunk(m.payload); break;
    case WMU_USB_EVENT: OnUsbEvent(); break;
    case WMU_PROGRESS: OnProgress(m.lParam); break;
    case WMU_SERIAL_EVENT: OnSerialEvent(static_cast<int>(m.lParam)); break;
    case WMU_QUEUED_CALL:
        if (m.call)
            m.call();
        break;
    case WMU_SERIAL_REIDENTIFY: OnReidentify(); break;
    case WMU_AREA: OnArea(m.wParam); break;
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
    g_bUsbConnected = false;
    g_bSerialConnected = false;
    CH341PtSetDevNotify(nullptr, PostSerialNotify);
    int pending = 0;
    if (FindUsbDevice()) {
        pending = 3;
        g_bUsbConnected = true;
        PostToMain(WMU_USB_EVENT, 0, -1);
    } else if (const int port = FindCh341Port(); port > 0) {
        pending = 3;
        g_LoggerLink.m_nComPort = port;
        PostToMain(WMU_SERIAL_EVENT, 0, port);
    }
    SetStatus(pending);
}

void LoggerWorkflow::Shutdown()
{
    CH341PtSetDevNotify(nullptr, nullptr);
    GetCh375Library().CH375SetDeviceNotify(g_LoggerLink.m_nDeviceIndex, nullptr, nullptr);
    g_LoggerLink.m_ComPort.ClosePort();
}

void LoggerWorkflow::BlankClockStatics()
{
    const QString blank = QString(46, QLatin1Char(' ')) + QLatin1Char('0');
    m_view.SetClockText(blank);
    m_view.SetRunStateText(blank);
}

void LoggerWorkflow::OnUsbNotify(unsigned long event)
{
    if (g_bSerialConnected) {
        g_LoggerLink.m_ComPort.ClosePort();
        g_bSerialConnected = false;
    }
    g_LoggerRecord.m_strDescription.clear();
    if (event == Ch375Library::kDeviceArrived || event == Ch375Library::kDeviceRemoved) {
        const bool arrived = event == Ch375Library::kDeviceArrived;
        SetStatus(arrived ? 3 : 4);
        g_bUsbConnected = arrived;
        PostToMain(WMU_USB_EVENT, 0, -1);
    }
    BlankClockStatics();
}

void LoggerWorkflow::OnSerialNotify(int value)
{
    if (g_bUsbConnected) {
        GetCh375Library().CH375CloseDevice(g_LoggerLink.m_nDeviceIndex);
        g_bUsbConnected = false;
    }
    g_LoggerRecord.m_strDescription.clear();
    g_LoggerLink.m_lastCommand.identifyFlag = 0; // a resend after re-linking must not stop the logger
    if (value > 0) {
        PostToMain(WMU_SERIAL_EVENT, 0, value);
    } else if (value < 0) {
        m_view.SetStatusText(GetText(TextId::Disconnecting));
        g_bSerialConnected = false;
        PostToMain(WMU_SERIAL_EVENT, 0, value);
    }
    BlankClockStatics();
}

void LoggerWorkflow::OnProgress(std::intptr_t lParam)
{
    const CLoggerRecord& r = g_LoggerRecord;
    int position = 0;
    if (lParam == -1 && r.m_nCount > 0) {
        const float done = static_cast<float>(r.m_nReceived) / static_cast<float>(r.m_nCount);
        position = static_cast<int>(done * 195.0f + 5.0f);
    }
    m_view.SetProgress(position);
}

void LoggerWorkflow::OnArea(std::intptr_t wParam)
{
    m_view.ShowAreaTabs(wParam == 1);
}

void LoggerWorkflow::SetUnitCelsius()
{
    SetUnit(g_strUnitC);
}

void LoggerWorkflow::SetUnitFahrenheit()
{
    SetUnit(g_strUnitF);
}

void LoggerWorkflow::SetUnit(const QString& unit)
{
    if (g_strTempUnit == unit)
        return;
    g_strTempUnit = unit;
    g_LoggerRecord.FormatStatTexts();
    m_view.UpdateSummaryValues();
    m_view.RefreshDataViews();
}

void LoggerWorkflow::Download()
{
    if (g_bUsbConnected)
        DownloadUsb();
    else if (g_bSerialConnected)
        DownloadSerial();
}

void LoggerWorkflow::CalibrateTime()
{
    if (g_bUsbConnected)
        CalibrateUsb();
    else if (g_bSerialConnected && g_LoggerLink.m_nReply == 0)
        g_LoggerLink.SerialSetClock();
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
