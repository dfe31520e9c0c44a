#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

class CDemoLogger;
class CMainDialog;

// Drives the main window in demo mode: plugs the virtual loggers in, presses
// Download once the logger is identified, and waits for what a screenshot
// should show. It watches the workflow's link state with timers on the
// event loop, never by sleeping.
class CDemoDriver : public QObject {
    Q_OBJECT

public:
    CDemoDriver(CMainDialog& dialog, CDemoLogger& demo);

    // Plugs the logger in after delayMs and says so on the status line when
    // that fails.
    void PlugInAfter(int delayMs);
    // Presses Download once the logger has been identified and its battery
    // read (or has been identified for a while), so both can be seen first.
    void DownloadWhenIdentified();
    // Runs the event loop until the identified logger with its battery is
    // shown, and with download until its download has ended; false with a
    // reason when that takes too long.
    bool WaitForDemo(bool download, QString& error);
    // Automatic mode: runs the event loop until the station has a row for
    // every virtual logger and each is archived or has failed, then shows
    // the Station tab; false with a reason when that takes too long.
    bool WaitForStation(QString& error);

private:
    bool LoggerIdentified() const;
    bool BatteryKnown() const;
    void PressDownload();

    CMainDialog& m_dialog;
    CDemoLogger& m_demo;
    QElapsedTimer m_clock;
    qint64 m_identifiedSince = -1; // ms on m_clock; -1 while not identified
};
