#pragma once

#include <QString>

// Control ids of the main dialog that the workflow enables and disables.
enum WorkflowButton : int {
    BTN_DOWNLOAD = 1004,
    BTN_SAVE = 1005,
    BTN_OPEN = 1006,
    BTN_PRINT = 1007,
    BTN_START_SETTING = 1008,
    BTN_CALIBRATE = 1129,
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
    virtual void ShowAreaTabs(bool show) = 0;
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
