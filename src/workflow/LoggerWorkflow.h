#pragma once

#include "base/AuditEvent.h"
#include "base/DisplaySettings.h"
#include "base/Messages.h"
#include "base/TextId.h"
#include "link/SettingsBlock.h"
#include "link/serial/SerialEvents.h"
#include "workflow/WorkflowView.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>

class CLoggerRecord;
class ILoggerDriver;
class SerialDriver;
class UsbDriver;

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
    enum class Command { None, Download, SetClock, Start, Stop };
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

// What a Start over USB found out before it returned (a serial Start is
// answered later: its outcome stays Pending until then).
struct StartReport {
    bool sent = false;                // a configurable logger was linked and the settings went out
    bool settingsTaken = false;       // USB: the logger echoed the settings block
    bool descriptionMismatch = false; // USB: the description read back differs from the one written
};

// The logger workflow of both links as a state machine without widgets:
// messages and timer ticks come in, driver operations and view updates go
// out. It fills one record, through whichever of its two drivers has a
// logger attached (or neither: a file opened without a logger). Everything
// runs on the main thread; the device libraries' threads and the serial
// read thread only post messages, addressed to this workflow or to its
// serial driver. The serial driver reports to it through ISerialEvents.
class LoggerWorkflow : private ISerialEvents {
    enum class Attached { None, Usb, Serial };

public:
    // display: the front end's settings, which the unit commands change and
    // the workflow's texts follow.
    LoggerWorkflow(IWorkflowView& view, ITimerHost& timers, CLoggerRecord& record, UsbDriver& usb,
                   SerialDriver& serial, DisplaySettings& display);
    ~LoggerWorkflow() override;
    LoggerWorkflow(const LoggerWorkflow&) = delete;
    LoggerWorkflow& operator=(const LoggerWorkflow&) = delete;

    // Registers the notifications, looks for a USB logger, else for the
    // highest CH341 port, and shows what it found.
    void Startup();
    // Stops the notifications (before the program ends) and closes the port.
    void Shutdown();
    // Whether this workflow handles hot-plug: it takes the device
    // notifications, and a USB logger's identification takes the highest
    // CH375 device there is. On unless switched off; connections that each
    // drive their own device beside others switch it off.
    void SetHotPlug(bool on) { m_bHotPlug = on; }
    // Where completed downloads, starts, stops and clock sets are recorded
    // (null: nowhere); it must outlive the workflow or be taken back.
    void SetAuditSink(IAuditSink* sink) { m_pAudit = sink; }

    // The address of what this workflow posts to itself and of its
    // notifications.
    MessageAddress Address() const { return m_address; }
    // Handles a message addressed to this workflow or its serial driver;
    // ignores any other.
    void OnMessage(const Message& message);
    void OnTimer(int id);

    // Commands.
    void Download();
    void CalibrateTime();
    void SetUnitCelsius();
    void SetUnitFahrenheit();
    void StartSetting();
    void Print();

    // The configuration dialog's Start: sends the settings block of the
    // linked logger and, when it holds a description and one is given, the
    // description; USB reads the description back and then the run state.
    // LastOutcome() tells how it ended (Pending over the serial link until
    // the logger answers).
    StartReport StartMission(const MissionSettings& settings, const std::optional<QString>& description);
    // The configuration dialog's Stop. False when nothing was sent.
    bool StopMission();
    // The linked logger may be configured now (identified, type allows it).
    bool MayConfigure() const { return m_bMayConfigure != 0 && LoggerLinked(); }
    // A logger is present on either link (the configuration dialog closes when not).
    bool LoggerPresent() const;
    // The record the workflow fills.
    CLoggerRecord& Record() const { return m_record; }
    // Samples the logger holds (as identification read the count) that were
    // not downloaded in this run of the program.
    int UndownloadedSamples() const;

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
    // The serial logger has answered its identification (cleared when the
    // port goes away).
    bool SerialLinked() const;
    // The CH375 device index and the serial port number the drivers use.
    int UsbDevice() const;
    int SerialPort() const;
    const CommandOutcome& LastOutcome() const { return m_outcome; }
    bool IsDownloading() const { return m_bDownloading; }
    // How many times a logger clock from the serial link was shown.
    int LoggerClockReports() const { return m_nLoggerClockReports; }
    // Calls listener, queued, each time the logger reports its clock and
    // status (battery, run state), until unsubscribed by the returned key.
    int SubscribeLoggerClock(std::function<void()> listener);
    void UnsubscribeLoggerClock(int key);

    std::int32_t m_bMayConfigure = 0;
    bool m_bDownloading = false;
    std::int32_t m_nCmdRetries = 0;

private:
    static bool StopsOnDownload(int type);
    static bool HasDescription(int type);
    void SetSerialLinked(bool linked);
    // Neither driver has a logger present any more.
    void ForgetPresence();
    LinkState SerialState() const;
    // The driver a command goes through now: the USB one while a USB logger
    // is attached, the serial one once its logger has answered and waits
    // for no other answer; none otherwise.
    ILoggerDriver* CommandDriver();
    void StartCommand(CommandOutcome::Command command);
    // Ends the command with text as its reason, or detail when there is one.
    void EndCommand(CommandOutcome::Result result, TextId text, const QString& detail = {});

    // The audit entry of the command under way: set when a start, stop or
    // clock set is sent and when a download completes, recorded when the
    // command ends (a start, stop or clock set with its result).
    AuditEvent LoggerAudit(const char* action, QJsonObject detail) const;
    AuditEvent DownloadAudit() const;
    AuditEvent StartAudit(const MissionSettings& settings, const std::optional<QString>& description) const;
    AuditEvent ClockAudit() const;
    void RecordAudit(CommandOutcome::Result result, const QString& reason);

    // Notification routines of the device libraries: they only post.
    void PostUsbNotify(unsigned long event) const;
    void PostSerialNotify(int value) const;
    // Effects of the notification routines, applied on the main thread.
    void OnUsbNotify(unsigned long event);
    void OnSerialNotify(int value);
    void BlankClockStatics();

    int FindCh341Port();

    // USB half.
    void OnUsbEvent();
    bool FindUsbDevice();
    void ApplyUsbType();
    bool ReadDescriptionRow();
    void OnUsbStatusTick();
    void DownloadUsb();
    void OnUsbDownloadTick();
    bool ReadNextBlock(int n);
    void EndUsbDownload(TextId text, const QString& detail = {});
    void CompleteUsbDownload();

    // Events of the serial link. Those whose effects used to wait for the
    // current handler to return are queued behind the waiting messages.
    void OnCommandSent(int retries) override;
    void OnPortLost() override;
    void OnInformation() override;
    void OnReplyArrived() override;
    void OnLoggerClock() override;
    void OnCalibrationOffered() override;
    void OnBlock(bool stored) override;
    // Makes call when the messages already waiting have been handled.
    void Later(std::function<void()> call);

    // Start and Stop.
    void StartUsb(const MissionSettings& settings, const std::optional<QString>& description, StartReport& report);
    bool WriteUsbDescription(const QString& text);
    void ReadUsbRunState();
    void StartSerial(const MissionSettings& settings, const std::optional<QString>& description);
    void StopSerial();
    void EndMissionCommand(bool done, const QString& reason);
    bool MissionPending(CommandOutcome::Command command) const;
    void NoteDownloaded();
    void OnStopAnswered() override;
    void OnIntervalSet() override;

    // Serial half.
    void OnSerialEvent(int port);
    void OnSerialInfo();
    void OnSerialStatusTick();
    void DownloadSerial();
    void OnSerialDownloadTick();
    void CompleteSerialDownload();
    void FailSerialDownload(bool restartStatusPoll, const QString& detail = {});
    void RequestAgain();
    void OnSerialSent(int retries);
    void CompleteReply(std::optional<TextId>& pendingText);
    void OnSerialReply();
    void OnSerialRetryTick();
    void OnSerialLost();
    void ShowLoggerClock();
    void OnReidentify();
    void PurgeReceive();

    // Download and Open together: a running download refuses both.
    static AvailableCommands DownloadAndOpen(bool available);
    // The progress bar: how much of the download arrived, or empty.
    void ShowProgress(bool downloading);
    void SetUnit(TempUnit unit);
    void SetStatus(TextId text);
    void ShowStatusText(const QString& text);
    void NotifyLoggerClock();

    IWorkflowView& m_view;
    ITimerHost& m_timers;
    CLoggerRecord& m_record;
    UsbDriver& m_usb;
    SerialDriver& m_serial;
    const MessageAddress m_address;
    DisplaySettings& m_display;
    bool m_bHotPlug = true;
    Attached m_link = Attached::None;
    // Linking, Unanswered or Ready while a link is attached.
    LinkState m_attachState = LinkState::Linking;
    CommandOutcome m_outcome;
    QString m_strLastStatus; // the last non-empty status text shown
    // The USB download: the next sample to read and how many remain.
    int m_nNextIndex = 0;
    int m_nRemaining = 0;
    // The serial download watchdog: ticks left until the next re-request,
    // renewed by each stored block, and re-requests left.
    int m_nBlockWatch = 0;
    int m_nDownloadRetries = 0;
    int m_nLoggerClockReports = 0;
    std::map<int, std::function<void()>> m_clockListeners;
    int m_nNextListener = 0;
    // A logger's mission: its ID and start time.
    struct MissionKey {
        QString id;
        time64 start = 0;
        bool operator==(const MissionKey&) const = default;
    };
    MissionKey RecordMission() const;
    // The mission downloaded last in this run and how many of its samples;
    // the mission a Start here replaced (its samples are gone).
    MissionKey m_downloaded;
    int m_nDownloadedCount = 0;
    MissionKey m_erased;
    IAuditSink* m_pAudit = nullptr;
    std::optional<AuditEvent> m_audit;
};
