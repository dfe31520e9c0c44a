// Start and Stop of a logger's mission, the configuration dialog's commands,
// on both links: the settings block, the description, the run state read
// back over USB; the serial commands whose answers arrive later.
#include "workflow/LoggerWorkflow.h"

#include "base/TextTable.h"
#include "link/serial/SerialDriver.h"
#include "link/usb/SettingsFrame.h"
#include "link/usb/UsbDriver.h"
#include "link/usb/UsbFrames.h"
#include "record/LoggerRecord.h"
#include "record/LoggerType.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kTextDescribeNotWritten = 102;
constexpr int kDescriptionCompared = 48;
constexpr int kStatusMs = 6500;

using Command = CommandOutcome::Command;
using Result = CommandOutcome::Result;

bool Running(int runState)
{
    return runState == 1 || runState == 2;
}

} // namespace

LoggerWorkflow::MissionKey LoggerWorkflow::RecordMission() const
{
    return {m_record.m_strValue[ROW_ID], m_record.m_tStart};
}

int LoggerWorkflow::UndownloadedSamples() const
{
    const CLoggerRecord& r = m_record;
    const MissionKey mission = RecordMission();
    if (r.m_nCount <= 0 || mission == m_erased)
        return 0;
    if (mission == m_downloaded)
        return std::max(0, r.m_nCount - m_nDownloadedCount);
    return r.m_nCount;
}

// A completed download: those samples are safe, and the logger, still
// linked, may be set up again (a file opened meanwhile cleared that).
void LoggerWorkflow::NoteDownloaded()
{
    const CLoggerRecord& r = m_record;
    m_downloaded = RecordMission();
    m_nDownloadedCount = r.m_nCount;
    m_audit = DownloadAudit();
    const LoggerType& type = LoggerTypeOf(r.m_nType);
    const bool configurable = UsbLinked() ? type.usbConfigurable : SerialLinked() && type.serialConfigurable;
    m_bMayConfigure = configurable ? 1 : 0;
    m_view.CommandsChanged(AvailableCommands().Set(WorkflowCommand::StartSetting, configurable));
}

void LoggerWorkflow::EndMissionCommand(bool done, const QString& reason)
{
    m_outcome.result = done ? Result::Done : Result::Failed;
    m_outcome.reason = reason;
    RecordAudit(m_outcome.result, reason);
    if (done && m_outcome.command == Command::Start)
        m_erased = RecordMission(); // the mission the record still shows is gone
    // The status poll skipped its turns while the answer was awaited: it
    // takes them up again, so the new run state is shown.
    if (SerialLinked())
        m_timers.SetTimer(TIMER_SERIAL_STATUS, kStatusMs);
}

bool LoggerWorkflow::MissionPending(Command command) const
{
    return m_outcome.command == command && m_outcome.result == Result::Pending;
}

StartReport LoggerWorkflow::StartMission(const MissionSettings& settings, const std::optional<QString>& description)
{
    StartReport report;
    StartCommand(Command::Start);
    if (!MayConfigure() || m_bDownloading)
        return report;
    m_audit = StartAudit(settings, description);
    if (UsbLinked()) {
        report.sent = true;
        StartUsb(settings, description, report);
    } else if (m_serial.m_nReply == 0) {
        report.sent = true;
        StartSerial(settings, description);
    }
    return report;
}

void LoggerWorkflow::StartUsb(const MissionSettings& settings, const std::optional<QString>& description,
                              StartReport& report)
{
    CLoggerRecord& r = m_record;
    report.settingsTaken = m_usb.Configure(settings) == DriverReply::Done;
    if (HasDescription(r.m_nType) && r.m_bDescRead && description) {
        if (!WriteUsbDescription(*description)) {
            report.descriptionMismatch = true;
            EndMissionCommand(false, GetText(kTextDescribeNotWritten, m_display.language));
            return;
        }
    }
    ReadUsbRunState();
    if (!report.settingsTaken)
        EndMissionCommand(false, QStringLiteral("the logger did not take the settings"));
    else if (!Running(r.m_nRunState))
        EndMissionCommand(false, QStringLiteral("the logger did not start (run state %1)").arg(r.m_nRunState));
    else
        EndMissionCommand(true, GetText(ToInt(r.m_nRunState == 1 ? TextId::Recording : TextId::DelayedStart), m_display.language));
}

// Writes the description and reads it back; false when what came back
// differs from what was written (a failed read compares nothing).
bool LoggerWorkflow::WriteUsbDescription(const QString& text)
{
    CLoggerRecord& r = m_record;
    std::uint8_t written[usbframe::kDescriptionBytes];
    DescriptionBytes(text, written);
    const int n = static_cast<int>(strnlen(reinterpret_cast<const char*>(written), kDescriptionCompared));
    m_usb.WriteDescription(written);
    std::uint8_t back[usbframe::kDescriptionBytes] = {};
    if (m_usb.ReadDescription(back, kDescriptionCompared) && std::memcmp(written, back, static_cast<size_t>(n)) != 0)
        return false;
    r.m_strValue[ROW_DESCRIPTION] = text;
    r.m_strDescription = text.isEmpty() ? QStringLiteral("  ") : text;
    return true;
}

void LoggerWorkflow::ReadUsbRunState()
{
    CLoggerRecord& r = m_record;
    if (m_usb.ReadStatus() == DriverReply::Done)
        r.m_bStatusValid = 1;
    m_view.BatteryChanged();
}

void LoggerWorkflow::StartSerial(const MissionSettings& settings, const std::optional<QString>& description)
{
    CLoggerRecord& r = m_record;
    SerialDriver& link = m_serial;
    const LoggerType& type = LoggerTypeOf(r.m_nType);
    m_outcome.result = Result::Pending;
    link.Configure(settings);
    // Written once the logger has answered the settings.
    link.m_strPendingDesc = type.description && r.m_bDescRead && description ? *description : QString();
}

bool LoggerWorkflow::StopMission()
{
    CLoggerRecord& r = m_record;
    StartCommand(Command::Stop);
    if (!MayConfigure() || m_bDownloading)
        return false;
    m_audit = LoggerAudit("stop", {});
    if (!UsbLinked()) {
        StopSerial();
        return true;
    }
    const bool answered = m_usb.OpenUsbDevice() && m_usb.Identify(true) == DriverReply::Done;
    ReadUsbRunState();
    if (!answered)
        EndMissionCommand(false, GetText(ToInt(TextId::Malfunctioning), m_display.language).trimmed());
    else if (Running(r.m_nRunState))
        EndMissionCommand(false, QStringLiteral("the logger still runs (run state %1)").arg(r.m_nRunState));
    else
        EndMissionCommand(true, GetText(ToInt(TextId::NotStarted), m_display.language));
    return true;
}

void LoggerWorkflow::StopSerial()
{
    SerialDriver& link = m_serial;
    const LoggerType& type = LoggerTypeOf(m_record.m_nType);
    m_outcome.result = Result::Pending;
    if (type.clockWithInterval) {
        // Identified again with the stop marker, so the record follows the
        // logger's new state.
        if (link.m_nSerialMode == 0)
            Later([this] { OnReidentify(); });
        link.SerialStop();
    } else if (type.description) {
        // The loggers that hold a description take the stop command twice.
        link.SerialStop();
        link.SerialStop();
    } else {
        link.SerialStop();
    }
}

void LoggerWorkflow::OnStopAnswered()
{
    Later([this] {
        if (MissionPending(Command::Stop))
            EndMissionCommand(true, GetText(ToInt(TextId::NotStarted), m_display.language));
        m_timers.SetTimer(TIMER_SERIAL_STATUS, kStatusMs);
    });
}

void LoggerWorkflow::OnIntervalSet()
{
    Later([this] {
        if (!MissionPending(Command::Start))
            return;
        m_nCmdRetries = 0;
        m_timers.KillTimer(TIMER_SERIAL_RETRY);
        EndMissionCommand(true, GetText(ToInt(TextId::Recording), m_display.language));
    });
}
