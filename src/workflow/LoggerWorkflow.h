#pragma once

#include "base/Messages.h"
#include "base/TextId.h"
#include "link/serial/SerialEvents.h"
#include "workflow/WorkflowView.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

// The logger workflow of both links as a state machine without widgets:
// messages and timer ticks come in, link operations and view updates go out.
// Everything runs on the main thread; the device libraries' threads and the
// serial read thread only post messages. The serial link reports to it
// through ISerialEvents.
class LoggerWorkflow : private ISerialEvents {
public:
    LoggerWorkflow(IWorkflowView& view, ITimerHost& timers);
    ~LoggerWorkflow() override;
    LoggerWorkflow(const LoggerWorkflow&) = delete;
    LoggerWorkflow& operator=(const LoggerWorkflow&) = delete;

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

    bool IsDownloading() const { return m_bDownloading; }
    // How many times a logger clock from the serial link was shown.
    int LoggerClockReports() const { return m_nLoggerClockReports; }

    std::int32_t m_bMayConfigure = 0;
    bool m_bDownloadOk = false;
    bool m_bDownloading = false;
    std::int32_t m_nCmdRetries = 0;

private:
    // Loggers of these types stop recording when they are downloaded.
    static bool StopsOnDownload(int type) { return type == 2 || type == 5 || type == 6; }
    static bool HasDescription(int type) { return type == 3 || type == 4; }

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
    void EndUsbDownload(int statusText);
    void CompleteUsbDownload();
    void CalibrateUsb();

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

    // Serial half.
    void OnSerialEvent(int port);
    void OnSerialInfo();
    void OnSerialStatusTick();
    void DownloadSerial();
    void OnSerialDownloadTick();
    void CompleteSerialDownload();
    void FailSerialDownload(bool restartStatusPoll);
    void RequestAgain();
    void OnSerialSent(int retries);
    void CompleteReply(std::optional<TextId>& pendingText);
    void OnSerialReply();
    void OnSerialRetryTick();
    void OnSerialLost();
    void ShowLoggerClock();
    void OnReidentify();
    void PurgeReceive();

    void OnProgress(std::intptr_t lParam);
    void OnArea(std::intptr_t wParam);
    void SetUnit(const QString& unit);
    void SetStatus(int textId);
    void PostGraphReset(int wParam);

    IWorkflowView& m_view;
    ITimerHost& m_timers;
    // The serial download watchdog: ticks left until the next re-request,
    // renewed by each stored block, and re-requests left.
    int m_nBlockWatch = 0;
    int m_nDownloadRetries = 0;
    int m_nLoggerClockReports = 0;
};
