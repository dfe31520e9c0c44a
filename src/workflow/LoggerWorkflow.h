#pragma once

#include "base/Messages.h"
#include "base/TextId.h"
#include "workflow/WorkflowView.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

// Where the link to a logger stands, as front ends need to know it.
enum class LinkState {
    NoLogger,    // nothing attached, or the logger went away
    Linking,     // attached; the identification is under way
    Unanswered,  // attached, but the device would not open or the logger not identify itself
    Ready,       // identified and ready for a command
    Busy,        // a serial command waits for its reply
    Downloading,
};

// How the last download or clock set ended.
struct CommandOutcome {
    enum class Command { None, Download, SetClock };
    enum class Result {
        None,    // not sent: the logger or the link does not take it now
        Pending, // sent, no answer yet
        Done,
        Failed,
    };
    Command command = Command::None;
    Result result = Result::None;
    // The status text that ended it; for a command that was not sent, the
    // status text shown last.
    QString reason;
};

// The logger workflow of both links as a state machine without widgets:
// messages and timer ticks come in, link operations and view updates go out.
// Everything runs on the main thread; the device libraries' threads and the
// serial read thread only post messages.
class LoggerWorkflow {
    enum class Attached { None, Usb, Serial };

public:
    LoggerWorkflow(IWorkflowView& view, ITimerHost& timers);

    // Registers the notifications, looks for a USB logger, else for the
    // highest CH341 port, and shows what it found.
    void Startup();
    // Stops the notifications (before the program ends).
    void Shutdown();

    void OnMessage(const Message& message);
    void OnTimer(int id);

    // Commands.
    void Download();
    void CalibrateTime();
    void SetUnitCelsius();
    void SetUnitFahrenheit();
    void StartSetting();
    void Print();

    // Links the CH375 device at index, when it can be opened, and
    // identifies the logger on it; false when there is no such device.
    bool AttachUsb(int index);
    // Links the tty at path, under the port number it has or a free one,
    // and identifies the logger on it; 0 when there is no such file or no
    // free number, else the port number (registered here when isNew).
    int AttachPort(const QString& path, bool& isNew);

    LinkState State() const;
    // A link to a logger is up: a USB device is attached, or the serial
    // logger has answered.
    bool LoggerLinked() const { return UsbLinked() || SerialLinked(); }
    bool UsbLinked() const { return m_link == Attached::Usb; }
    // The CH375 device index and the serial port number the link uses.
    int UsbDevice() const;
    int SerialPort() const;
    const CommandOutcome& LastOutcome() const { return m_outcome; }
    bool IsDownloading() const { return m_bDownloading; }

    std::int32_t m_bMayConfigure = 0;
    bool m_bDownloading = false;
    std::int32_t m_nCmdRetries = 0;

private:
    static bool StopsOnDownload(int type);
    static bool HasDescription(int type);
    // The serial link's "logger answered" flag. The serial port check still
    // clears it where the port goes away, so it stays in the link globals.
    static bool SerialLinked();
    static void SetSerialLinked(bool linked);
    LinkState SerialState() const;
    void StartCommand(CommandOutcome::Command command);
    void EndCommand(CommandOutcome::Result result, TextId text);

    // Notification routines of the device libraries: they only post.
    static void PostUsbNotify(unsigned long event);
    static void PostSerialNotify(int value);
    // Effects of the notification routines, applied on the main thread.
    void OnUsbNotify(unsigned long event);
    void OnSerialNotify(int value);
    void BlankClockStatics();

    // USB half.
    void OnUsbEvent();
    bool FindUsbDevice();
    void ApplyUsbType();
    bool ReadDescriptionRow();
    void OnUsbStatusTick();
    void DownloadUsb();
    void OnUsbDownloadTick();
    bool ReadNextBlock(int n);
    void EndUsbDownload(TextId text);
    void CompleteUsbDownload();
    void CalibrateUsb();

    // Serial half.
    void OnSerialEvent(int port);
    void OnSerialInfo();
    void OnSerialStatusTick();
    void DownloadSerial();
    void OnSerialDownloadTick();
    void CompleteSerialDownload();
    void FailSerialDownload(bool restartStatusPoll);
    void RequestAgain();
    void OnSerialSent(std::intptr_t wParam, std::intptr_t lParam);
    void CompleteReply(int& pendingText);
    void OnSerialReply();
    void OnSerialRetryTick();
    void ResendCommand(int code);
    void OnSerialLost();
    void OnLoggerClock();
    void OnReidentify();
    void PurgeReceive();

    void OnProgress(std::intptr_t lParam);
    void SetUnit(const QString& unit);
    void SetStatus(TextId text);
    void SetStatus(int textId); // the serial half's pending texts
    void ShowStatusText(const QString& text);
    void PostGraphReset(int wParam);

    IWorkflowView& m_view;
    ITimerHost& m_timers;
    Attached m_link = Attached::None;
    // Linking, Unanswered or Ready while a link is attached.
    LinkState m_attachState = LinkState::Linking;
    CommandOutcome m_outcome;
    QString m_strLastStatus; // the last non-empty status text shown
    // The USB download: the next sample to read and how many remain.
    int m_nNextIndex = 0;
    int m_nRemaining = 0;
    // WMU_SERIAL_SENT messages still to come from resends of the retry timer.
    int m_nResendsPending = 0;
};
