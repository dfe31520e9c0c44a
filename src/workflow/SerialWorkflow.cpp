// The serial half of the logger workflow: the serial link's events, linking,
// command retries and reply completion, status poll, the streamed download
// with its watchdog, the logger clock display and the clock set.
#include "workflow/LoggerWorkflow.h"

#include "base/CodePage.h"
#include "base/TextTable.h"
#include "link/serial/SerialDriver.h"
#include "record/LoggerRecord.h"
#include "record/LoggerType.h"
#include "record/TimeText.h"
#include "workflow/DownloadLimit.h"

#include <cstring>
#include <optional>

namespace {

constexpr int kRetryMs = 5000;
constexpr int kDownloadTickMs = 1000;
constexpr int kStatusFirstMs = 1500;
constexpr int kStatusMs = 6500;
constexpr int kMaxCmdRetries = 4;
constexpr int kDownloadRetries = 5;
constexpr int kDownloadMode = SerialProtocol::kDownloadMode;

const LoggerType& TypeOf(const CLoggerRecord& r) { return LoggerTypeOf(r.m_nType); }

} // namespace

void LoggerWorkflow::OnCommandSent(int retries)
{
    Later([this, retries] { OnSerialSent(retries); });
}

void LoggerWorkflow::OnPortLost()
{
    SetSerialLinked(false);
    Later([this] { OnSerialLost(); });
}

void LoggerWorkflow::OnInformation()
{
    if (m_serial.m_nSerialMode == kDownloadMode)
        m_nDownloadRetries = kDownloadRetries;
    Later([this] { OnSerialInfo(); });
}

void LoggerWorkflow::OnReplyArrived()
{
    Later([this] { OnSerialReply(); });
}

void LoggerWorkflow::OnLoggerClock()
{
    Later([this] { ShowLoggerClock(); });
    Later([this] { NotifyLoggerClock(); });
}

void LoggerWorkflow::OnCalibrationOffered()
{
    Later([this] { m_view.CommandsChanged(AvailableCommands().Set(WorkflowCommand::Calibrate, true)); });
}

void LoggerWorkflow::OnBlock(bool stored)
{
    m_nDownloadRetries = kDownloadRetries;
    if (stored)
        m_nBlockWatch = kDownloadRetries;
}

void LoggerWorkflow::PurgeReceive()
{
    m_serial.ClearReceive();
    m_serial.m_ComPort.PurgeInput();
}

void LoggerWorkflow::OnSerialEvent(int port)
{
    CLoggerRecord& r = m_record;
    SerialDriver& link = m_serial;
    m_bMayConfigure = 0;
    m_view.CommandsChanged(AvailableCommands().Set(WorkflowCommand::StartSetting, false).Set(WorkflowCommand::Calibrate, false));
    if (port > 0) {
        m_link = Attached::Serial;
        m_attachState = LinkState::Linking;
        SetStatus(TextId::Linking);
        r.m_byDataFlags = 0;
        if (!link.OpenPort(port)) {
            ShowStatusText(QString());
            ForgetPresence();
            m_attachState = LinkState::Unanswered;
            return;
        }
        PurgeReceive();
        r.m_byDataFlags = 0;
        link.Attach(port);
        r.m_nType = 0;
        r.m_bDescRead = 0;
        link.Identify(false);
        m_view.GraphReset(false);
        link.m_nSerialMode = 0;
    } else if (port < 0) {
        if (m_link == Attached::Serial)
            m_link = Attached::None;
        link.Detach();
        link.Attach(0);
        ForgetPresence();
        r.m_nBattery = 0;
        m_view.BatteryChanged();
    }
}

void LoggerWorkflow::OnSerialInfo()
{
    CLoggerRecord& r = m_record;
    const LoggerType& type = TypeOf(r);
    const bool configurable = type.serialConfigurable;
    m_bMayConfigure = configurable ? 1 : 0;
    m_view.CommandsChanged(AvailableCommands().Set(WorkflowCommand::StartSetting, configurable));
    r.m_bStatusValid = 0;
    if (type.clockCommand) {
        if (!r.m_bTimesValid)
            m_view.CommandsChanged(AvailableCommands().Set(WorkflowCommand::Calibrate, true));
    } else {
        r.m_nBattery = 0;
    }
    if (r.m_strDescription.isEmpty())
        r.m_strDescription = r.m_strValue[ROW_DESCRIPTION];
    if (r.m_strDescription.isEmpty())
        r.m_strDescription = QStringLiteral("  ");
    m_view.BatteryChanged();
    m_view.ShowRecord();
}

void LoggerWorkflow::OnSerialStatusTick()
{
    m_timers.KillTimer(TIMER_SERIAL_STATUS);
    if (SerialLinked() && m_serial.m_nSerialMode != kDownloadMode && m_serial.m_nReply == 0 && !m_bDownloading) {
        m_timers.SetTimer(TIMER_SERIAL_STATUS, kStatusMs);
        m_serial.ReadStatus();
    }
}

void LoggerWorkflow::DownloadSerial()
{
    CLoggerRecord& r = m_record;
    if (TypeOf(r).description && !r.m_bDescRead)
        return;
    if (!m_serial.m_ComPort.IsOpen())
        return;
    m_serial.Download(TypeOf(r).stopsOnDownload);
    r.m_nReceived = 0;
    m_bDownloading = true;
    m_view.CommandsChanged(DownloadAndOpen(false).Set(WorkflowCommand::StartSetting, false));
    m_timers.SetTimer(TIMER_SERIAL_DOWNLOAD, kDownloadTickMs);
    m_timers.KillTimer(TIMER_SERIAL_RETRY);
    m_nDownloadRetries = kDownloadRetries;
    m_nBlockWatch = kDownloadRetries;
    m_outcome.result = CommandOutcome::Result::Pending;
    SetStatus(TextId::Downloading);
}

void LoggerWorkflow::OnSerialDownloadTick()
{
    const CLoggerRecord& r = m_record;
    if (!(SerialLinked() && m_serial.m_nSerialMode == kDownloadMode)) {
        FailSerialDownload(false);
        return;
    }
    if (!m_serial.CountUsable()) {
        FailSerialDownload(true, OversizedDownloadReason(m_serial.m_nReportedCount));
        return;
    }
    Later([this] { ShowProgress(true); });
    m_nBlockWatch -= 1;
    if (r.m_nReceived >= r.m_nCount)
        CompleteSerialDownload();
    if (m_nBlockWatch > 0)
        return;
    m_nBlockWatch = kDownloadRetries;
    m_nDownloadRetries -= 1;
    if (m_nDownloadRetries < 0) {
        FailSerialDownload(true);
        return;
    }
    if (m_nDownloadRetries == 3 || m_nDownloadRetries == 1)
        PurgeReceive();
    RequestAgain();
}

// The watchdog's re-request: the identification again, or the last 64 bytes
// before the first sample still missing.
void LoggerWorkflow::RequestAgain()
{
    const CLoggerRecord& r = m_record;
    SerialDriver& link = m_serial;
    if (link.m_nReply == SERIAL_IDENTIFY) {
        link.SerialIdentify(TypeOf(r).stopsOnReidentify ? 1 : 0);
    } else if (link.m_nReply & SERIAL_BLOCK) {
        if (r.m_nReceived < r.m_nCount) {
            const int offset = r.m_nReceived * TypeOf(r).sampleBytes;
            link.SerialRequestBlock(offset > 64 ? offset - 64 : 0);
        }
    } else {
        link.SerialIdentify(TypeOf(r).stopsOnDownload ? 1 : 0);
    }
}

void LoggerWorkflow::CompleteSerialDownload()
{
    CLoggerRecord& r = m_record;
    SerialDriver& link = m_serial;
    m_timers.KillTimer(TIMER_SERIAL_RETRY);
    m_timers.KillTimer(TIMER_SERIAL_DOWNLOAD);
    r.m_nReceived = r.m_nCount;
    r.m_strValue[ROW_DESCRIPTION] = r.m_strDescription;
    r.m_nRowFlags |= RF_DESCRIPTION;
    r.Recompute(false, m_display.unit);
    r.BuildTimeTable();
    m_view.BatteryChanged();
    m_view.UpdateSummaryValues();
    m_view.RefreshDataViews();
    m_bDownloading = false;
    link.m_nReply = 0;
    link.m_nSerialMode = 0;
    m_view.CommandsChanged(DownloadAndOpen(true));
    NoteDownloaded();
    Later([this] { ShowProgress(false); });
    m_view.RecordChanged();
    SetStatus(TextId::DownloadComplete);
    EndCommand(CommandOutcome::Result::Done, TextId::DownloadComplete);
    Later([this] { ShowProgress(false); });
    m_timers.SetTimer(TIMER_SERIAL_STATUS, kStatusMs);
    PurgeReceive();
    m_view.GraphReset(true);
}

// Ends a download that failed: re-requests ran out, or the link went away
// (then the status poll is not restarted).
void LoggerWorkflow::FailSerialDownload(bool restartStatusPoll, const QString& detail)
{
    SerialDriver& link = m_serial;
    m_timers.KillTimer(TIMER_SERIAL_DOWNLOAD);
    m_timers.KillTimer(TIMER_SERIAL_RETRY);
    m_bDownloading = false;
    link.m_nReply = 0;
    link.m_nSerialMode = 0;
    SetStatus(TextId::DownloadFailed);
    EndCommand(CommandOutcome::Result::Failed, TextId::DownloadFailed, detail);
    Later([this] { ShowProgress(false); });
    m_view.CommandsChanged(DownloadAndOpen(true).Set(WorkflowCommand::Calibrate, false));
    if (restartStatusPoll)
        m_timers.SetTimer(TIMER_SERIAL_STATUS, kStatusMs);
    PurgeReceive();
    m_view.GraphReset(false);
}

void LoggerWorkflow::OnSerialSent(int retries)
{
    if (retries > kMaxCmdRetries)
        retries = kMaxCmdRetries;
    if (retries < 0)
        retries = 1;
    m_nCmdRetries = retries;
    m_timers.SetTimer(TIMER_SERIAL_RETRY, kRetryMs);
}

void LoggerWorkflow::CompleteReply(std::optional<TextId>& pendingText)
{
    SerialDriver& link = m_serial;
    const int reply = link.m_nReply;
    switch (reply) {
    case SERIAL_IDENTIFY | SERIAL_REPLY_ARRIVED:
        link.m_nReply = 0;
        m_nCmdRetries = 0;
        pendingText = TextId::Connected;
        m_record.m_nReceived = 0;
        SetSerialLinked(true);
        if (TypeOf(m_record).description)
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
            link.m_strPendingDesc.clear();
            link.SerialWriteDescription(50, buffer);
        } else if (MissionPending(CommandOutcome::Command::Start)) {
            EndMissionCommand(true, GetText(ToInt(TextId::Recording), m_display.language));
        }
        break;
    case SERIAL_STOP | SERIAL_REPLY_ARRIVED:
    case SERIAL_WRITE_DESC | SERIAL_REPLY_ARRIVED:
        link.m_nReply = 0;
        m_nCmdRetries = 0;
        m_timers.SetTimer(TIMER_SERIAL_STATUS, kStatusMs);
        if (reply == (SERIAL_WRITE_DESC | SERIAL_REPLY_ARRIVED) && MissionPending(CommandOutcome::Command::Start))
            EndMissionCommand(true, GetText(ToInt(TextId::Recording), m_display.language));
        break;
    case SERIAL_SET_CLOCK | SERIAL_REPLY_ARRIVED:
        link.m_nReply = 0;
        m_nCmdRetries = 0;
        pendingText = TextId::ClockSet;
        EndCommand(CommandOutcome::Result::Done, TextId::ClockSet);
        break;
    default:
        break;
    }
}

void LoggerWorkflow::OnSerialReply()
{
    std::optional<TextId> pendingText;
    if (m_serial.m_nSerialMode != kDownloadMode) {
        CompleteReply(pendingText);
        if (pendingText)
            SetStatus(*pendingText);
        m_view.SetProgress(0);
    }
    if (m_nCmdRetries <= 0)
        m_timers.KillTimer(TIMER_SERIAL_RETRY);
}

void LoggerWorkflow::OnSerialRetryTick()
{
    SerialDriver& link = m_serial;
    std::optional<TextId> pendingText;
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
            link.ResendLastCommand();
        } else if (MissionPending(CommandOutcome::Command::Start) || MissionPending(CommandOutcome::Command::Stop)) {
            link.m_nReply = 0;
            pendingText = TextId::Malfunctioning;
            EndMissionCommand(false, QStringLiteral("the logger did not answer"));
        } else {
            link.m_nReply = 0;
            pendingText = reply == SERIAL_SET_CLOCK ? TextId::ClockSetFailed : TextId::Malfunctioning;
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
    if (pendingText)
        SetStatus(*pendingText);
    m_view.SetProgress(0);
    if (m_nCmdRetries <= 0) {
        link.ClearReceive();
        m_timers.KillTimer(TIMER_SERIAL_RETRY);
    }
}

void LoggerWorkflow::OnSerialLost()
{
    m_view.CommandsChanged(DownloadAndOpen(true).Set(WorkflowCommand::Calibrate, false));
    SetStatus(TextId::Disconnecting);
}

void LoggerWorkflow::ShowLoggerClock()
{
    CLoggerRecord& r = m_record;
    ++m_nLoggerClockReports;
    if (r.m_tLoggerClock != 0) {
        const LocalTm t = ToLocal(r.m_tLoggerClock);
        const QString clock = QString::asprintf("%d-%d-%d %.2d:%.2d:%.2d", t.year, t.month, t.day, t.hour, t.minute, t.second);
        m_view.SetClockVisible(true);
        m_view.SetClockText(clock + QString(20, QLatin1Char(' ')));
        if (r.m_nRowFlags & RF_LOGGER_CLOCK) {
            r.m_nRowFlags &= ~RF_LOGGER_CLOCK;
            m_view.SetRunStateVisible(true);
            m_view.SetRunStateText(QString(26, QLatin1Char(' ')));
            TextId text = TextId::NotStarted;
            if (r.m_nRunState == 1)
                text = TextId::Recording;
            else if (r.m_nRunState == 2 && TypeOf(r).delayedStartState)
                text = TextId::DelayedStart;
            m_view.SetRunStateText(GetText(text, m_display.language));
        }
    } else {
        m_view.SetClockVisible(false);
        m_view.SetRunStateVisible(false);
    }
    if (TypeOf(r).serialBattery || r.m_strValue[ROW_ID].startsWith(QLatin1Char('i')))
        m_view.BatteryChanged();
}

void LoggerWorkflow::OnReidentify()
{
    m_serial.Identify(true);
    m_serial.m_nSerialMode = 0;
}
