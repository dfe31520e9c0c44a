#pragma once

#include "base/Messages.h"
#include "cli/ConsoleLoop.h"
#include "cli/ConsoleView.h"
#include "cli/LinkOptions.h"
#include "workflow/LoggerConnection.h"

#include <QString>
#include <memory>

class CVirtualCh375;
class SingleDeviceCh375;
class VirtualSerialLogger;

// One run of a logger command: attaches the logger the options name (or the
// one start-up detection finds), drives the logger workflow with the console
// view and loop, and waits for each step with a deadline so nothing hangs.
// Every method that returns false leaves a one-line reason in Error().
class LoggerSession {
public:
    // display: the command's settings, which the session's workflow uses.
    LoggerSession(LinkOptions options, const DisplaySettings& display);
    ~LoggerSession();
    LoggerSession(const LoggerSession&) = delete;
    LoggerSession& operator=(const LoggerSession&) = delete;

    // Attaches the logger and waits until it is identified.
    bool Connect();
    // Waits for the first status poll of a logger that is polled.
    bool WaitForStatus();
    bool Download();
    bool SetClock();
    // The dialog's Start and Stop, waiting for a serial logger's answer.
    bool Start(const MissionSettings& settings, const std::optional<QString>& description);
    bool Stop();
    const LoggerWorkflow& Workflow() const { return m_workflow; }
    LoggerConnection& Connection() { return m_connection; }

    const QString& Error() const { return m_error; }
    bool IsUsb() const { return m_bUsb; }
    // "USB 0" or "serial /dev/ttyUSB0".
    QString LinkName() const;

private:
    bool StartTrace();
    bool AttachSimulated();
    bool AttachUsb(int index);
    bool AttachPort(const QString& path);
    bool AttachDetected();
    void Handle(const Message& m);
    bool Identified() const;
    bool IdentificationFailed() const;
    // The logger went away (or never came).
    bool Gone() const;
    bool Fail(const QString& reason);
    bool WaitUntilIdle();
    bool AwaitOutcome(const QString& noAnswer);
    bool AwaitMission(const char* what);

    LinkOptions m_options;
    MessageQueue m_queue;
    ConsoleView m_view;
    ConsoleLoop m_loop;
    DisplaySettings m_display;
    LoggerConnection m_connection;
    LoggerWorkflow& m_workflow = m_connection.Workflow();
    std::unique_ptr<CVirtualCh375> m_virtualUsb;
    std::unique_ptr<SingleDeviceCh375> m_singleUsb;
    std::unique_ptr<VirtualSerialLogger> m_virtualSerial;
    int m_registeredPort = 0;
    bool m_bUsb = false;
    int m_usbIndex = 0;
    QString m_portPath;
    QString m_error;
};
