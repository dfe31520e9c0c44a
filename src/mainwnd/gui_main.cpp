// halvern-th: the main window.
//   halvern-th [--simulate usb[:TYPE]|serial[:TYPE]] [--download] [--screenshot FILE.png] [FILE.tavo]
// --simulate attaches a virtual logger (demo mode), plugged in a second after
// start. --download presses Download once that logger is identified.
// --screenshot renders the window, laid out as on a 1920 x 1080 screen so
// pictures come out alike on every machine, into a PNG file and exits; with
// --simulate it first waits for the identification (and the download).
#include "base/TextTable.h"
#include "link/LinkGlobals.h"
#include "link/LoggerLink.h"
#include "mainwnd/BatteryStrip.h"
#include "mainwnd/MolvaneQuillmarDlg.h"
#include "base/QtMessagePoster.h"
#include "record/Units.h"
#include "record/LoggerRecord.h"
#include "sim/DemoLogger.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

constexpr int kPlugInDelayMs = 1000;
constexpr int kIdentifyTimeoutMs = 20000;
constexpr int kDownloadTimeoutMs = 180000;
constexpr int kBatteryWaitMs = 8000;

void Settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

// Runs the event loop until done() holds or timeoutMs has passed.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

// A logger is linked, identified and no serial command is outstanding.
bool LoggerIdentified(const CMolvaneQuillmarDlg& dialog)
{
    return (g_bUsbConnected || g_bSerialConnected) && g_LoggerRecord.m_nType != 0 && g_LoggerLink.m_nReply == 0
        && dialog.IsButtonEnabled(CMolvaneQuillmarDlg::IDC_DOWNLOAD);
}

// The battery level has been read, or this logger shows none.
bool BatteryKnown()
{
    const CLoggerRecord& r = g_LoggerRecord;
    return r.m_nBattery != 0
        || !BatteryStripShowsLogger(g_bUsbConnected || g_bSerialConnected, r.m_nType, r.m_strValue[ROW_ID]);
}

void PressDownload(CMolvaneQuillmarDlg& dialog)
{
    static_cast<QAbstractButton*>(dialog.Control(CMolvaneQuillmarDlg::IDC_DOWNLOAD))->click();
}

// Presses Download once the logger has been identified and its battery read
// (or has been identified for kBatteryWaitMs), so both can be seen first.
void DownloadWhenIdentified(CMolvaneQuillmarDlg& dialog)
{
    auto* poll = new QTimer(&dialog);
    auto identifiedFor = std::make_shared<QElapsedTimer>();
    QObject::connect(poll, &QTimer::timeout, &dialog, [poll, identifiedFor, &dialog] {
        if (!LoggerIdentified(dialog)) {
            identifiedFor->invalidate();
            return;
        }
        if (!identifiedFor->isValid())
            identifiedFor->start();
        if (!BatteryKnown() && identifiedFor->elapsed() < kBatteryWaitMs)
            return;
        poll->stop();
        poll->deleteLater();
        PressDownload(dialog);
    });
    poll->start(100);
}

int Fail(const QString& message)
{
    std::fprintf(stderr, "halvern-th: %s\n", qPrintable(message));
    return 1;
}

// Waits for what a demo screenshot should show: the identified logger with
// its battery, and the finished download when asked for.
bool WaitForDemo(CMolvaneQuillmarDlg& dialog, bool download, QString& error)
{
    if (!WaitUntil([&] { return LoggerIdentified(dialog); }, kIdentifyTimeoutMs)) {
        error = QStringLiteral("the virtual logger was not identified in time");
        return false;
    }
    WaitUntil(BatteryKnown, kBatteryWaitMs);
    if (download) {
        PressDownload(dialog);
        if (!WaitUntil([&] { return !dialog.Workflow().IsDownloading(); }, kDownloadTimeoutMs)) {
            error = QStringLiteral("the download did not end in time");
            return false;
        }
        // A serial download identifies the logger again, which forgets the
        // battery level until the next status poll.
        WaitUntil(BatteryKnown, kBatteryWaitMs);
    }
    return true;
}

int Screenshot(CMolvaneQuillmarDlg& dialog, const QString& file, bool demo, bool download)
{
    dialog.show();
    Settle();
    QString error;
    if (demo && !WaitForDemo(dialog, download, error))
        return Fail(error);
    Settle();
    if (!dialog.grab().save(file, "PNG"))
        return Fail(QStringLiteral("cannot write %1").arg(file));
    return 0;
}

// Plugs the demo logger in (at once for a screenshot, else after a second,
// as a user would) and says so when that fails.
void PlugInLater(CDemoLogger& demo, CMolvaneQuillmarDlg& dialog, int delayMs)
{
    QTimer::singleShot(delayMs, &dialog, [&demo, &dialog] {
        if (!demo.PlugIn())
            dialog.SetStatusText(QStringLiteral(" The virtual logger could not be attached."));
    });
}

struct Options {
    QCommandLineOption simulate{
        QStringLiteral("simulate"),
        QStringLiteral("Demo mode: attach a virtual logger holding a day-long mission, plugged in a second "
                       "after start. LINK is usb (TYPE 1-4) or serial (TYPE 2-6); TYPE defaults to 4, "
                       "a temperature+humidity logger."),
        QStringLiteral("LINK[:TYPE]")};
    QCommandLineOption download{QStringLiteral("download"),
                                QStringLiteral("With --simulate: press Download once the virtual logger has "
                                               "been identified and its battery read.")};
    QCommandLineOption screenshot{
        QStringLiteral("screenshot"),
        QStringLiteral("Render the window into a PNG file and exit. With --simulate it first waits until the "
                       "logger has been identified and its battery read (and, with --download, until the "
                       "download has ended); it fails when that takes too long."),
        QStringLiteral("FILE.png")};
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("halvern-th"));
    QApplication::setDesktopFileName(QStringLiteral("halvern-th"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Temperature and humidity data logger manager"));
    parser.addHelpOption();
    const Options options;
    parser.addOptions({options.simulate, options.download, options.screenshot});
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A .tavo data file to open."),
                                 QStringLiteral("[FILE.tavo]"));
    parser.process(app);

    InitLanguageAndUnits();
    InstallQtMessagePoster();
    const bool shot = parser.isSet(options.screenshot);
    const bool download = parser.isSet(options.download);

    // The demo logger is created before the dialog starts and outlives it.
    std::unique_ptr<CDemoLogger> demo;
    if (parser.isSet(options.simulate)) {
        QString error;
        SimulateSpec choice;
        if (!ParseSimulateKind(parser.value(options.simulate), choice, error)) {
            std::fprintf(stderr, "halvern-th: %s\n", qPrintable(error));
            return 2;
        }
        demo = std::make_unique<CDemoLogger>(choice);
    }

    CMolvaneQuillmarDlg dialog(shot ? QSize(1920, 1080) : QSize());
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("halvern-th"), dialog.windowIcon()));
    if (demo)
        dialog.setWindowTitle(dialog.windowTitle() + QStringLiteral(" \u2014 ") + demo->Label());
    dialog.Start(parser.positionalArguments().value(0));
    if (demo) {
        PlugInLater(*demo, dialog, shot ? 0 : kPlugInDelayMs);
        if (download && !shot)
            DownloadWhenIdentified(dialog);
    }
    if (shot)
        return Screenshot(dialog, parser.value(options.screenshot), demo != nullptr, download);
    dialog.exec();
    return 0;
}
