#pragma once

#include "base/DisplaySettings.h"
#include "link/SettingsBlock.h"
#include "views/ControlTable.h"

#include <QDialog>
#include <QFrame>
#include <QTimer>
#include <functional>
#include <optional>

class CLoggerRecord;
class LoggerWorkflow;

// The battery gauge of the configuration dialog, painted from a record.
class CConfigGauge : public QFrame {
public:
    explicit CConfigGauge(QWidget* parent = nullptr);
    void SetRecord(const CLoggerRecord* record) { m_pRecord = record; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const CLoggerRecord* m_pRecord = nullptr;
};

// The logger settings dialog of Start Setting, modal over the main window:
// the linked logger's ID and run state, the start time, sample interval,
// description and alarm limits of its next mission (each limit with what
// the logger will store), Start, Stop and Exit, the battery gauge and the
// low-battery warning. It forwards Start and Stop to the workflow, says why
// a field it greys is off, and closes itself when the logger goes away.
class CConfigDlg : public QDialog {
public:
    enum ControlId : int {
        IDC_EXIT = 1,
        IDC_ID = 1082,
        IDC_STATE = 1083,
        IDC_START_TIME = 1084,
        IDC_INTERVAL = 1085,
        IDC_START = 1086,
        IDC_STOP = 1087,
        IDC_TEMP_LOW = 1114,
        IDC_TEMP_HIGH = 1115,
        IDC_HUMI_LOW = 1116,
        IDC_HUMI_HIGH = 1117,
        IDC_STATE_CAPTION = 1118,
        IDC_START_GROUP = 1119,
        IDC_INTERVAL_GROUP = 1120,
        IDC_TEMP_GROUP = 1121,
        IDC_HUMI_GROUP = 1122,
        IDC_TEMP_CAPTION = 1123,
        IDC_HUMI_CAPTION = 1124,
        IDC_GAUGE = 1125,
        IDC_DESCRIPTION = 1126,
        IDC_DESCRIPTION_GROUP = 1127,
        IDC_ID_CAPTION = 1133,
        IDC_WARNING = 1135,
        IDC_NOTE = 1136, // why fields are off, in the unused humidity row
        IDC_TEMP_LOW_STORED = 1140, // what each limit field will be stored as
        IDC_TEMP_HIGH_STORED = 1141,
        IDC_HUMI_LOW_STORED = 1142,
        IDC_HUMI_HIGH_STORED = 1143,
    };

    CConfigDlg(LoggerWorkflow& workflow, const DisplaySettings& display, float scale, QWidget* parent = nullptr);
    ~CConfigDlg() override;

    template <class W = QWidget>
    W* Control(int id) const { return m_controls.Get<W>(id); }
    QString Text(int id) const;
    void SetText(int id, const QString& text);
    bool IsEnabled(int id) const;

    // Yes/No questions and message boxes; tests replace them.
    void SetAsker(std::function<bool(const QString&)> asker) { m_pfnAsk = std::move(asker); }
    void SetMessenger(std::function<void(const QString&)> messenger) { m_pfnMessage = std::move(messenger); }
    // Where a Start the logger took is reported (the main window's status line).
    void SetStatusReporter(std::function<void(const QString&)> report) { m_pfnStatus = std::move(report); }

    void OnStart();
    void OnStop();
    // The 1000 ms tick: closes the dialog once the logger is gone.
    void OnTimerTick();
    // The logger reported its clock and status (battery, run state).
    void OnLoggerClock();
    QTimer& Timer() { return m_timer; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateControls();
    void SetUp();
    void SetUpAlarmRows();
    void SetUpDescription();
    void SetUpStoredPreviews();
    void ShowStored(int limitId);
    void ReportStarted();
    void Rescale();
    void ShowRunState(int runState);
    void Enable(int id, bool on);
    bool Ask(const QString& question);
    void Message(const QString& text);
    void StartOverUsb(bool settingsTaken, bool descriptionMismatch);
    // The workflow would send a Start now (a configurable logger is linked
    // and neither downloading nor waiting for an answer).
    bool StartWouldBeSent() const;

    LoggerWorkflow& m_workflow;
    const DisplaySettings& m_display;
    float m_fScale;
    ControlTable m_controls;
    QTimer m_timer;
    int m_nClockSubscription = 0;
    std::function<bool(const QString&)> m_pfnAsk;
    std::function<void(const QString&)> m_pfnMessage;
    std::function<void(const QString&)> m_pfnStatus;
    // A Start sent whose success is still to be reported.
    std::optional<MissionSettings> m_startToReport;
};
