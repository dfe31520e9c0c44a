#pragma once

#include "base/Messages.h"
#include "workflow/LoggerConnection.h"

#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <vector>

// A view that remembers what the workflow showed.
class RecordingView : public IWorkflowView {
public:
    void SetStatusText(const QString& text) override { statuses << text; }
    void CommandsChanged(const AvailableCommands& change) override
    {
        for (const WorkflowCommand c : {WorkflowCommand::Download, WorkflowCommand::Open, WorkflowCommand::StartSetting, WorkflowCommand::Calibrate})
            if (change.Concerns(c))
                commands[c] = change.Available(c);
    }
    void SetProgress(int position) override { progress.push_back(position); }
    void ShowRecord() override { ++shown; }
    void UpdateSummaryValues() override { ++summaryUpdates; }
    void RefreshDataViews() override { ++dataRefreshes; }
    void BatteryChanged() override { ++batteryChanges; }
    void RecordChanged() override { ++recordChanges; }
    void GraphReset(bool complete) override { graphResets.push_back(complete ? 1 : 0); }
    void SetClockText(const QString& text) override { clockText = text; }
    void SetClockVisible(bool visible) override { clockVisible = visible; }
    void SetRunStateText(const QString& text) override { runStateText = text; }
    void SetRunStateVisible(bool visible) override { runStateVisible = visible; }
    void OpenConfigDialog() override { ++configDialogs; }
    void OpenPrintDialog() override { ++printDialogs; }

    QString LastStatus() const { return statuses.isEmpty() ? QString() : statuses.last(); }
    bool Enabled(WorkflowCommand c) const
    {
        auto it = commands.find(c);
        return it != commands.end() && it->second;
    }
    bool Known(WorkflowCommand c) const { return commands.count(c) != 0; }

    QStringList statuses;
    std::map<WorkflowCommand, bool> commands;
    std::vector<int> graphResets;
    std::vector<int> progress;
    int shown = 0, summaryUpdates = 0, dataRefreshes = 0, batteryChanges = 0, recordChanges = 0;
    int configDialogs = 0, printDialogs = 0;
    QString clockText, runStateText;
    bool clockVisible = false, runStateVisible = false;
};

// Timers that tick only when the test says so.
class ManualTimers : public ITimerHost {
public:
    void SetTimer(int id, int milliseconds) override { running[id] = milliseconds; }
    void KillTimer(int id) override { running.erase(id); }
    bool Running(int id) const { return running.count(id) != 0; }
    int Period(int id) const
    {
        auto it = running.find(id);
        return it == running.end() ? 0 : it->second;
    }
    std::map<int, int> running;
};

// Owns a connection (its records, drivers and workflow) with a recording
// view, manual timers and its own display settings (degrees F, English), and
// a message queue that stands in for the main thread's event loop.
struct WorkflowHarness {
    WorkflowHarness()
    {
        queue.Install();
        workflow.SubscribeLoggerClock([this] { ++configDialogClocks; });
    }
    ~WorkflowHarness() { SetMessagePoster(nullptr); }

    // Delivers posted messages (and those they cause) to the workflow.
    int Pump()
    {
        int total = 0;
        for (int handled; (handled = queue.Drain([this](const Message& m) { Handle(m); })) > 0;)
            total += handled;
        return total;
    }
    void Handle(const Message& m)
    {
        workflow.OnMessage(m);
    }
    // Pumps until pred holds or timeoutMs passed (messages from other threads).
    bool PumpUntil(const std::function<bool()>& pred, int timeoutMs = 10000)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        Pump();
        while (!pred()) {
            if (std::chrono::steady_clock::now() > end)
                return false;
            queue.Wait(20);
            Pump();
        }
        return true;
    }
    // Pumps until nothing has arrived for quietMs.
    void PumpQuiet(int quietMs)
    {
        while (queue.Wait(quietMs))
            Pump();
    }
    // Ticks timer id once if it runs, then pumps.
    bool Tick(int id)
    {
        if (!timers.Running(id))
            return false;
        workflow.OnTimer(id);
        Pump();
        return true;
    }

    RecordingView view;
    ManualTimers timers;
    MessageQueue queue;
    DisplaySettings display;
    std::unique_ptr<LoggerConnection> connection = std::make_unique<LoggerConnection>(view, timers, display);
    LoggerWorkflow& workflow = connection->Workflow();
    CLoggerRecord& record = connection->Record();
    UsbDriver& usb = connection->Usb();
    SerialDriver& serial = connection->Serial();
    int configDialogClocks = 0;
};
