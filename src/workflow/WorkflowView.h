#pragma once

#include <QString>

// Control ids of the main dialog. The workflow enables and disables the
// command buttons among them; the dialog lays all of them out.
enum ControlId : int {
    IDCANCEL = 2,
    IDC_BANNER = 1001,
    IDC_UNIT_C = 1002,
    IDC_UNIT_F = 1003,
    IDC_DOWNLOAD = 1004,
    IDC_SAVE = 1005,
    IDC_OPEN = 1006,
    IDC_PRINT = 1007,
    IDC_START_SETTING = 1008,
    IDC_TABS = 1011,
    IDC_PROGRESS = 1015,
    IDC_BATTERY = 1016,
    IDC_STATUS = 1019,
    IDC_GRAPH_FRAME = 1022,
    IDC_CALIBRATE = 1129,
    IDC_UNIT_GROUP = 1130,
    IDC_LOGGER_CLOCK = 1134,
    IDC_RUN_STATE = 1135,
};

// What the logger workflow shows. The main dialog implements it with
// widgets, the CLI with terminal lines, tests with a recorder.
class IWorkflowView {
public:
    virtual ~IWorkflowView() = default;
    virtual void SetStatusText(const QString& text) = 0;
    virtual void EnableButton(int id, bool on) = 0;
    virtual void SetProgress(int position) = 0; // 0..200
    // Summary (layout and values), data list and graph show g_LoggerRecord.
    virtual void ShowRecord() = 0;
    virtual void UpdateSummaryValues() = 0;
    // Data list and graph take the record again (new samples, other unit).
    virtual void RefreshDataViews() = 0;
    virtual void RepaintBatteryStrip() = 0;
    virtual void RedrawBanner() = 0;
    // The logger clock and run-state statics.
    virtual void SetClockText(const QString& text) = 0;
    virtual void SetClockVisible(bool visible) = 0;
    virtual void SetRunStateText(const QString& text) = 0;
    virtual void SetRunStateVisible(bool visible) = 0;
    virtual void OpenConfigDialog() = 0;
    virtual void OpenPrintDialog() = 0;
};

enum WorkflowTimer : int {
    TIMER_USB_DOWNLOAD = 1,
    TIMER_USB_STATUS = 2,
    TIMER_SERIAL_RETRY = 4,
    TIMER_SERIAL_DOWNLOAD = 5,
    TIMER_SERIAL_STATUS = 6,
};

// Window timers of the workflow. Setting a running timer restarts it.
class ITimerHost {
public:
    virtual ~ITimerHost() = default;
    virtual void SetTimer(int id, int milliseconds) = 0;
    virtual void KillTimer(int id) = 0;
};
