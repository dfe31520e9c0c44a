// Start and Stop of the configuration dialog, and the main window's Start
// Setting, which opens the dialog.
#include "mainwnd/ConfigDlg.h"
#include "mainwnd/ConfigFields.h"
#include "mainwnd/MainDialog.h"

#include "base/TextTable.h"
#include "record/LoggerRecord.h"
#include "record/LoggerType.h"
#include "record/Units.h"
#include "workflow/LoggerWorkflow.h"
#include "workflow/MissionEntry.h"

#include <QDateTimeEdit>
#include <QLineEdit>
#include <QTimeEdit>
#include <ctime>

namespace {

constexpr int kTextSureToStop = 81;
constexpr int kTextAlarmSetWrong = 101;
constexpr int kTextDescribeNotWritten = 102;
constexpr int kIdChars = 11;

} // namespace

void CConfigDlg::OnStart()
{
    CLoggerRecord& r = m_workflow.Record();
    SetText(IDC_ID, r.m_strValue[ROW_ID]);
    MissionEntry entry;
    entry.id = Text(IDC_ID).left(kIdChars);
    entry.start = Control<QDateTimeEdit>(IDC_START_TIME)->dateTime().toSecsSinceEpoch();
    entry.now = static_cast<time64>(std::time(nullptr));
    entry.intervalMinutes = IntervalMinutes(Control<QTimeEdit>(IDC_INTERVAL)->time());
    entry.lowTemp = Text(IDC_TEMP_LOW);
    entry.highTemp = Text(IDC_TEMP_HIGH);
    entry.lowHumi = Text(IDC_HUMI_LOW);
    entry.highHumi = Text(IDC_HUMI_HIGH);
    entry.fahrenheit = m_display.unit == TempUnit::Fahrenheit;
    // Every entry is checked before the question: a refused start must not
    // first ask about erasing the logger's samples.
    const MissionCheck check = CheckMissionEntry(r.m_nType, entry, GetText(kTextAlarmSetWrong, m_display.language));
    if (!check.ok) {
        const QString detail = check.reversed ? QLatin1Char('\n') + ReversedLimitsText(entry, *check.reversed, m_display.language) : QString();
        Message(check.error + detail); // nothing is sent
        return;
    }
    if (!StartWouldBeSent())
        return;
    if (!Ask(StartQuestion(m_workflow.UndownloadedSamples(), m_display.language)))
        return;
    std::optional<QString> description;
    if (IsEnabled(IDC_DESCRIPTION))
        description = Text(IDC_DESCRIPTION);
    const StartReport report = m_workflow.StartMission(check.settings, description);
    if (!report.sent)
        return;
    m_startToReport = check.settings;
    if (m_workflow.UsbLinked()) {
        StartOverUsb(report.settingsTaken, report.descriptionMismatch);
        ReportStarted();
        return;
    }
    if (!LoggerTypeOf(r.m_nType).clockWithInterval) {
        SetText(IDC_STATE, GetText(ToInt(TextId::Starting), m_display.language));
        m_timer.start();
    }
    Enable(IDC_START, false);
}

bool CConfigDlg::StartWouldBeSent() const
{
    const LinkState state = m_workflow.State();
    return m_workflow.MayConfigure() && state != LinkState::Downloading && state != LinkState::Busy;
}

void CConfigDlg::StartOverUsb(bool settingsTaken, bool descriptionMismatch)
{
    if (settingsTaken) {
        Enable(IDC_START, false);
        Enable(IDC_STOP, true);
    }
    if (descriptionMismatch) {
        Message(GetText(kTextDescribeNotWritten, m_display.language));
        Enable(IDC_START, true);
        // Stop only when the settings were taken: then the logger records.
        Enable(IDC_STOP, settingsTaken);
        return;
    }
    const int runState = m_workflow.Record().m_nRunState;
    ShowRunState(runState);
    if (!MissionRunning(runState))
        Enable(IDC_START, true);
}

void CConfigDlg::ReportStarted()
{
    const CommandOutcome& outcome = m_workflow.LastOutcome();
    if (!m_startToReport || outcome.command != CommandOutcome::Command::Start
        || outcome.result == CommandOutcome::Result::Pending)
        return;
    const MissionSettings settings = *m_startToReport;
    m_startToReport.reset();
    if (outcome.result == CommandOutcome::Result::Done && m_pfnStatus)
        m_pfnStatus(MissionStartedText(m_workflow.Record().m_strValue[ROW_ID], settings.intervalMinutes,
                                       settings.start, settings.now, m_display.language));
}

void CConfigDlg::OnStop()
{
    if (!Ask(GetText(kTextSureToStop, m_display.language)))
        return;
    if (!m_workflow.StopMission())
        return;
    if (!m_workflow.UsbLinked()) {
        SetText(IDC_STATE, GetText(ToInt(TextId::Shutting), m_display.language));
        m_timer.start();
        return;
    }
    if (m_workflow.LastOutcome().result == CommandOutcome::Result::Done) {
        Enable(IDC_START, true);
        Enable(IDC_STOP, false);
    }
    const int runState = m_workflow.Record().m_nRunState;
    ShowRunState(runState);
    if (!MissionRunning(runState))
        Enable(IDC_START, true);
}

void CMainDialog::OpenConfigDialog()
{
    CConfigDlg dialog(m_workflow, m_display, m_fScale, this);
    if (m_pfnAsk)
        dialog.SetAsker(m_pfnAsk);
    dialog.SetStatusReporter([this](const QString& text) { SetStatusText(text); });
    dialog.exec();
}
