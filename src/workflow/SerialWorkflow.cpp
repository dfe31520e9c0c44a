// The serial half of the logger workflow: linking, command retries and reply
// completion, status poll, the streamed download with its watchdog, the
// logger clock display and the clock set.
#include "workflow/LoggerWorkflow.h"

#include "base/CodePage.h"
#include "base/TextTable.h"
#include "link/LinkGlobals.h"
#include "link/LoggerLink.h"
#include "record/LoggerRecord.h"
#include "record/TimeText.h"

#include <cstring>

namespace {

constexpr int kRetryMs = 5000;
constexpr int kDownloadTickMs = 1000;
constexpr int kStatusFirstMs = 1500;
constexpr int kStatusMs = 6500;
constexpr int kMaxCmdRetries = 4;
constexpr int kDownloadRetries = 5;
constexpr int kDownloadMode = 2;

CSerialLink& Link() { return g_LoggerLink; }

} // namespace

void LoggerWorkflow::PurgeReceive()
{
    Link().m_nRxLen = 0;
    Link().m_ComPort.PurgeInput();
}

void LoggerWorkflow::OnSerialEvent(int port)
{
    CLoggerRecord& r = g_LoggerRecord;
    CSerialLink& link = Link();
    m_bMayConfigure = 0;
    m_view.EnableButton(IDC_START_SETTING, false);
    m_view.EnableButton(IDC_CALIBRATE, false);
    if (port > 0) {
        m_link = Attached::Serial;
        m_attachState = LinkState::Linking;
        SetStatus(142);
        link.m_ComPort.ClosePort();
        link.m_ComPort.m_pUserData = this;
        r.m_byDataFlags = 0;
        link.m_ComPort.m_pfnOnData = &CSerialLink::PostChunk;
        link.m_ComPort.OpenPort(port);
        if (!link.m_ComPort.IsOpen()) {
            m_view.SetStatusText(QString());
            g_LoggerLink.m_bUsbOpen = 0;
            m_attachState = LinkState::Unanswered;
            return;
        }
        PurgeReceive();
        r.m_byDataFlags = 0;
        link.m_nComPort = port;
        r.m_nType = 0;
        r.m_bDescRead = 0;
        link.SerialIdentify(0);
        PostGraphReset(0);
        link.m_nSerialMode = 0;
    } else if (port < 0) {
        if (m_link == Attached::Serial)
            m_link = Attached::None;
        link.m_ComPort.ClosePort();
        link.m_nComPort = 0;
        g_LoggerLink.m_bUsbOpen = 0;
        r.m_nBattery = 0;
        m_view.RepaintBatteryStrip();
    }
}

void LoggerWorkflow::OnSerialInfo()
{
    CLoggerRecord& r = g_LoggerRecord;
    const int type = r.m_nType;
    const bool configurable = type == 3 || type == 4 || type == 6;
    m_bMayConfigure = configurable ? 1 : 0;
    m_view.EnableButton(IDC_START_SETTING, configurable);
    r.m_bStatusValid = 0;
    if (type == 2 || type == 5) {
        if (!r.m_bTimesValid)
            m_view.EnableButton(IDC_CALIBRATE, true);
    } else {
        r.m_nBattery = 0;
    }
    if (r.m_strDescription.isEmpty())
        r.m_strDescription = r.m_strValue[ROW_DESCRIPTION];
    if (r.m_strDescription.isEmpty())
        r.m_strDescription = QStringLiteral("  ");
    m_view.RepaintBatteryStrip();
    m_view.ShowRecord();
}

void LoggerWorkflow::OnSerialStatusTick()
{
    m_timers.KillTimer(TIMER_SERIAL_STATUS);
    const CSerialLink& link = Link();
    if (SerialLinked() && link.m_nSerialMode != kDownloadMode && link.m_nReply == 0 && !m_bDownloading) {
        m_timers.SetTimer(TIMER_SERIAL_STATUS, kStatusMs);
        Link().SerialReadStatus();
    }
}

void LoggerWorkflow::DownloadSerial()
{
    CLoggerRecord& r = g_LoggerRecord;
    CSerialLink& link = Link();
    if (HasDescription(r.m_nType) && !r.m_bDescRead)
        return;
    if (!link.m_ComPort.IsOpen())
        return;
    link.m_nSerialMode = kDownloadMode;
    link.SerialIdentify(StopsOnDownload(r.m_nType) ? 1 : 0);
    r.m_nReceived = 0;
    m_bDownloading = true;
    m_view.EnableButton(IDC_DOWNLOAD, false);
    m_view.EnableButton(IDC_OPEN, false);
    m_view.EnableButton(IDC_START_SETTING, false);
    m_timers.SetTimer(TIMER_SERIAL_DOWNLOAD, kDownloadTickMs);
    m_timers.KillTimer(TIMER_SERIAL_RETRY);
    link.m_nRetries = kDownloadRetries;
    r.m_nRetry = kDownloadRetries;
    m_outcome.result = CommandOutcome::Result::Pending;
    SetStatus(26);
}

void LoggerWorkflow::OnSerialDownloadTick()
{
    CLoggerRecord& r = g_LoggerRecord;
    CSerialLink& link = Link();
    if (!(SerialLinked() && link.m_nSerialMode == kDownloadMode)) {
        FailSerialDownload(false);
        return;
    }
    PostToMain(WMU_PROGRESS, 0, -1);
    r.m_nRetry -= 1;
    if (r.m_nReceived >= r.m_nCount)
        CompleteSerialDownload();
    if (r.m_nRetry > 0)
        return;
    r.m_nRetry = kDownloadRetries;
    link.m_nRetries -= 1;
    if (link.m_nRetries < 0) {
        FailSerialDownload(true);
        return;
    }
    if (link.m_nRetries == 3 || link.m_nRetries == 1)
        PurgeReceive();
    RequestAgain();
}

// The watchdog's re-request: the identification again, or the last 64 bytes
// before the first sample still missing.
void LoggerWorkflow::RequestAgain()
{
    const CLoggerRecord& r = g_LoggerRecord;
    CSerialLink& link = Link();
    if (link.m_nReply == SERIAL_IDENTIFY) {
        link.SerialIdentify(r.m_nType == 2 || r.m_nType == 5 ? 1 : 0);
    } else if (link.m_nReply & SERIAL_BLOCK) {
        if (r.m_nReceived < r.m_nCount) {
            const int offset = r.m_nReceived * (r.m_nType == 4 ? 4 : 2);
            link.SerialRequestBlock(offset > 64 ? offset - 64 : 0);
        }
    } else {
        link.SerialIdentify(StopsOnDownload(r.m_nType) ? 1 : 0);
    }
}

void LoggerWorkflow::CompleteSerialDownload()
{
    CLoggerRecord& r = g_LoggerRecord;
    CSerialLink& link = Link();
    m_timers.KillTimer(TIMER_SERIAL_RETRY);
    m_timers.KillTimer(TIMER_SERIAL_DOWNLOAD);
    r.m_nReceived = r.m_nCount;
    r.m_strValue[ROW_DESCRIPTION] = r.m_strDescription;
    r.m_nRowFlags |= RF_DESCRIPTION;
    r.Recompute(false);
    r.BuildTimeTable();
    m_view.RepaintBatteryStrip();
    m_view.UpdateSummaryValues();
    m_view.RefreshDataViews();
    m_bDownloading = false;
    link.m_nReply = 0;
    link.m_nSerialMode = 0;
    m_view.EnableButton(IDC_DOWNLOAD, true);
    m_view.EnableButton(IDC_OPEN, true);
    PostToMain(WMU_PROGRESS, 0, 0);
    m_view.RedrawBanner();
    SetStatus(28);
    EndCommand(CommandOutcome::Result::Done, TextId::DownloadComplete);
    PostToMain(WMU_PROGRESS, 0, 0);
    m_timers.SetTimer(TIMER_SERIAL_STATUS, kStatusMs);
    PurgeReceive();
    PostGraphReset(1);
}

// Ends a download that failed: re-requests ran out, or the link went away
// (then the status poll is not restarted).
void LoggerWorkflow::FailSerialDownload(bool restartStatusPoll)
{
    CSerialLink& link = Link();
    m_timers.KillTimer(TIMER_SERIAL_DOWNLOAD);
    m_timers.KillTimer(TIMER_SERIAL_RETRY);
    m_bDownloading = false;
    link.m_nReply = 0;
    link.m_nSerialMode = 0;
    SetStatus(141);
    EndCommand(CommandOutcome::Result::Failed, TextId::DownloadFailed);
    PostToMain(WMU_PROGRESS, 0, 0);
    m_view.EnableButton(IDC_CALIBRATE, false);
    m_view.EnableButton(IDC_DOWNLOAD, true);
    m_view.EnableButton(IDC_OPEN, true);
    if (restartStatusPoll)
        m_timers.SetTimer(TIMER_SERIAL_STATUS, kStatusMs);
    PurgeReceive();
    PostGraphReset(0);
}

void LoggerWorkflow::OnSerialSent(std::intptr_t wParam, std::intptr_t lParam)
{
    if (wParam != 0)
        return;
    // A resend by the retry timer keeps the budget of the first send.
    if (m_nResendsPending > 0) {
        --m_nResendsPending;
        return;
    }
    int retries = static_cast<int>(lParam);
    if (retries > kMaxCmdRetries)
        retries = kMaxCmdRetries;
    if (retries < 0)
        retries = 1;
    m_nCmdRetries = retries;
    m_timers.SetTimer(TIMER_SERIAL_RETRY, kRetryMs);
}

void LoggerWorkflow::CompleteReply(int& pendingText)
{
    CSerialLink& link = Link();
    const int reply = link.m_nReply;
    switch (reply) {
    case SERIAL_IDENTIFY | SERIAL_REPLY_ARRIVED:
        link.m_nReply = 0;
        m_nCmdRetries = 0;
        pendingText = 3;
        g_LoggerRecord.m_nReceived = 0;
        SetSerialLinked(true);
        if (HasDescription(g_LoggerRecord.m_nType))
            link.SerialReadDescription();
        else
            m_timers.SetTimer(TIMER_SERIAL_STATUS, kStatusFirstMs);
        break;
    case SERIAL_READ_DESC | SERIAL_REPLY_ARRIVED:
        link.m_nReply = 0;
        m_nCmdRetries = 0;
        m_view.UpdateSummaryValues();
        m_timers.SetTimer(TIMER_SERIAL_STATUS, kStatusMs);
        break;
    case SERIAL_WRITE_SETTINGS | SERIAL_REPLY_ARRIVED:
        link.m_nReply = 0;
        m_nCmdRetries = 0;
        if (!link.m_strPendingDesc.isEmpty()) {
            std::uint8_t buffer[100] = {};
            const QByteArray text = ToOem(link.m_strPendingDesc);
            std::memcpy(buffer, text.constData(), static_cast<size_t>(std::min<qsizetype>(text.size(), 99)));
            link.SerialWriteDescription(50, buffer);
        }
        break;
    case SERIAL_STOP | SERIAL_REPLY_ARRIVED:
    case SERIAL_WRITE_DESC | SERIAL_REPLY_ARRIVED:
        link.m_nReply = 0;
        m_nCmdRetries = 0;
        m_timers.SetTimer(TIMER_SERIAL_STATUS, kStatusMs);
        break;
    case SERIAL_SET_CLOCK | SERIAL_REPLY_ARRIVED:
        link.m_nReply = 0;
        m_nCmdRetries = 0;
        pendingText = 131;
        EndCommand(CommandOutcome::Result::Done, TextId::ClockSet);
        break;
    default:
        break;
    }
}

void LoggerWorkflow::OnSerialReply()
{
    int pendingText = -1;
    if (Link().m_nSerialMode != kDownloadMode) {
        CompleteReply(pendingText);
        if (pendingText >= 0)
            SetStatus(pendingText);
        m_view.SetProgress(0);
    }
    if (m_nCmdRetries <= 0)
        m_timers.KillTimer(TIMER_SERIAL_RETRY);
}

void LoggerWorkflow::ResendCommand(int code)
{
    CSerialLink& link = Link();
    ++m_nResendsPending;
    switch (code) {
    case SERIAL_IDENTIFY: link.SerialIdentify(g_nKeptIdentFlag); break;
    case SERIAL_READ_DESC: link.SerialReadDescription(); break;
    case SERIAL_WRITE_SETTINGS: link.SerialWriteSettings(g_nKeptSettingsLen, g_nKeptSettingsType, g_byKeptSettings); break;
    case SERIAL_STOP: link.SerialStop(g_nKeptStopType); break;
    case SERIAL_WRITE_DESC: link.SerialWriteDescription(g_nKeptDescLen, g_byKeptDesc); break;
    case SERIAL_SET_CLOCK: link.SerialSetClock(); break;
    default: --m_nResendsPending; break;
    }
}

void LoggerWorkflow::OnSerialRetryTick()
{
    CSerialLink& link = Link();
    int pendingText = -1;
    m_nCmdRetries -= 1;
    if (link.m_nSerialMode == kDownloadMode)
        return;
    const int reply = link.m_nReply;
    switch (reply) {
    case SERIAL_IDENTIFY:
    case SERIAL_READ_DESC:
    case SERIAL_WRITE_SETTINGS:
    case SERIAL_STOP:
    case SERIAL_WRITE_DESC:
    case SERIAL_SET_CLOCK:
        if (m_nCmdRetries > 0) {
            ResendCommand(reply);
        } else {
            link.m_nReply = 0;
            pendingText = reply == SERIAL_SET_CLOCK ? 132 : 27;
            if (reply == SERIAL_SET_CLOCK)
                EndCommand(CommandOutcome::Result::Failed, TextId::ClockSetFailed);
        }
        break;
    default:
        if (reply & SERIAL_REPLY_ARRIVED)
            CompleteReply(pendingText);
        if (link.m_nReply == reply)
            link.m_nReply = 0;
        break;
    }
    if (pendingText >= 0)
        SetStatus(pendingText);
    m_view.SetProgress(0);
    if (m_nCmdRetries <= 0) {
        link.m_nRxLen = 0;
        m_timers.KillTimer(TIMER_SERIAL_RETRY);
    }
}

void LoggerWorkflow::OnSerialLost()
{
    m_view.EnableButton(IDC_CALIBRATE, false);
    m_view.EnableButton(IDC_DOWNLOAD, true);
    m_view.EnableButton(IDC_OPEN, true);
    ShowStatusText(g_strLinkLostText);
}

void LoggerWorkflow::OnLoggerClock()
{
    CLoggerRecord& r = g_LoggerRecord;
    if (r.m_tLoggerClock != 0) {
        const LocalTm t = ToLocal(r.m_tLoggerClock);
        const QString clock = QString::asprintf("%d-%d-%d %.2d:%.2d:%.2d", t.year, t.month, t.day, t.hour, t.minute, t.second);
        m_view.SetClockVisible(true);
        m_view.SetClockText(clock + QString(20, QLatin1Char(' ')));
        if (r.m_nRowFlags & RF_LOGGER_CLOCK) {
            r.m_nRowFlags &= ~RF_LOGGER_CLOCK;
            m_view.SetRunStateVisible(true);
            m_view.SetRunStateText(QString(26, QLatin1Char(' ')));
            int text = 76;
            if (r.m_nRunState == 1)
                text = 77;
            else if (r.m_nRunState == 2 && r.m_nType != 5 && r.m_nType != 6)
                text = 78;
            m_view.SetRunStateText(GetText(text));
        }
    } else {
        m_view.SetClockVisible(false);
        m_view.SetRunStateVisible(false);
    }
    if ((r.m_nType >= 3 && r.m_nType <= 6) || r.m_strValue[ROW_ID].startsWith(QLatin1Char('i')))
        m_view.RepaintBatteryStrip();
}

void LoggerWorkflow::OnReidentify()
{
    Link().SerialIdentify(1);
    Link().m_nSerialMode = 0;
}
