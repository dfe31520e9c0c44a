#pragma once

#include "base/Messages.h"
#include "workflow/WorkflowView.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

// The logger workflow of both links as a state machine without widgets:
// messages and timer ticks come in, link operations and view updates go out.
// Everything runs on the main thread; the device libraries' threads and the
// serial read thread only post messages.
class LoggerWorkflow {
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

    bool IsDownloading() const { return m_bDownloading; }

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
    void OnArea(std::intptr_t wParam);
    void SetUnit(const QString& unit);
    void SetStatus(int textId);
    void PostGraphReset(int wParam);

    IWorkflowView& m_view;
    ITimerHost& m_timers;
    // WMU_SERIAL_SENT messages still to come from resends of the retry timer.
    int m_nResendsPending = 0;
};
