#pragma once

#include <QString>

// The commands whose availability the workflow decides.
enum class WorkflowCommand : unsigned {
    Download = 1u << 0,
    Open = 1u << 1,
    StartSetting = 1u << 2,
    Calibrate = 1u << 3,
};

// A change in which commands are available: the commands it concerns, each
// available or not. Commands it does not concern keep their state.
class AvailableCommands {
public:
    AvailableCommands& Set(WorkflowCommand command, bool available)
    {
        const unsigned bit = static_cast<unsigned>(command);
        m_concerned |= bit;
        m_available = available ? (m_available | bit) : (m_available & ~bit);
        return *this;
    }
    bool Concerns(WorkflowCommand command) const { return (m_concerned & static_cast<unsigned>(command)) != 0; }
    bool Available(WorkflowCommand command) const { return (m_available & static_cast<unsigned>(command)) != 0; }
    bool operator==(const AvailableCommands&) const = default;

private:
    unsigned m_concerned = 0;
    unsigned m_available = 0;
};

// What the logger workflow shows. The main dialog implements it with
// widgets, the CLI with terminal lines, tests with a recorder. A front end
// ignores what it has nothing to show for: every output defaults to nothing.
class IWorkflowView {
public:
    virtual ~IWorkflowView() = default;
    virtual void SetStatusText(const QString& /*text*/) {}
    virtual void SetProgress(int /*position*/) {} // 0..200
    // Summary (layout and values), data list and graph show the record the
    // workflow fills.
    virtual void ShowRecord() {}
    virtual void UpdateSummaryValues() {}
    // Data list and graph take the record again (new samples, other unit).
    virtual void RefreshDataViews() {}
    // Which commands are available (buttons).
    virtual void CommandsChanged(const AvailableCommands&) {}
    // The logger's battery reading in the record changed.
    virtual void BatteryChanged() {}
    // A download completed: the record holds the logger's samples.
    virtual void RecordChanged() {}
    // The graph starts over on the record: complete data shown or not.
    virtual void GraphReset(bool /*complete*/) {}
    // The logger clock and run-state statics.
    virtual void SetClockText(const QString& /*text*/) {}
    virtual void SetClockVisible(bool /*visible*/) {}
    virtual void SetRunStateText(const QString& /*text*/) {}
    virtual void SetRunStateVisible(bool /*visible*/) {}
    virtual void OpenConfigDialog() {}
    virtual void OpenPrintDialog() {}
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
