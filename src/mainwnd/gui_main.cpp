// halvern-th: the main window.
//   halvern-th [--lang en|zh] [--simulate LINK[:TYPE][,LINK[:TYPE]...] [--time-scale FACTOR]] [--download]
//              [--automatic] [--screenshot FILE.png [--select FIRST-LAST]] [FILE.tavo]
// --simulate attaches virtual loggers (demo mode), plugged in a second after
// start. --download presses Download once the window's logger is
// identified. --automatic turns Automatic on for this run.
// --screenshot renders the window, laid out as on a 1920 x 1080 screen so
// pictures come out alike on every machine, into a PNG file and exits; with
// --simulate it first waits for the identification (and the download), or
// with --automatic until every virtual logger is archived or has failed;
// --select then selects those samples on the graph, as a drag would. It
// needs no display, nor do --help and --version.
#include "base/QtMessagePoster.h"
#include "base/TextTable.h"
#include "mainwnd/DemoDriver.h"
#include "mainwnd/DisplayChoice.h"
#include "mainwnd/MainDialog.h"
#include "mainwnd/QtTranslation.h"
#include "mainwnd/RunEventsUntil.h"
#include "mainwnd/TabHost.h"
#include "record/LoggerRecord.h"
#include "record/Units.h"
#include "sim/DemoLogger.h"
#include "views/GraphPage.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QTabBar>
#include <QRegularExpression>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr int kPlugInDelayMs = 1000;
constexpr int kSelectTimeoutMs = 5000;

void Settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

int Fail(const QString& message)
{
    std::fprintf(stderr, "halvern-th: %s\n", qPrintable(message));
    return 1;
}

// Samples first to last, numbered from 1.
struct SampleRange {
    int first = 0;
    int last = 0;
    bool IsSet() const { return last > 0; }
};

bool ParseSampleRange(const QString& text, SampleRange& range, QString& error)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,5})-(\\d{1,5})$"));
    const QRegularExpressionMatch m = form.match(text);
    range = {m.captured(1).toInt(), m.captured(2).toInt()};
    if (m.hasMatch() && range.first >= 1 && range.first < range.last)
        return true;
    error = QStringLiteral("--select wants FIRST-LAST, sample numbers from 1 with FIRST below LAST: %1").arg(text);
    return false;
}

// Selects the samples on the graph and waits for the area tabs it brings.
bool SelectSamples(CMainDialog& dialog, SampleRange range, QString& error)
{
    const CLoggerRecord& r = dialog.Connection().Record();
    if (range.last > r.m_nReceived) {
        error = QStringLiteral("--select %1-%2: the record holds %3 samples")
                    .arg(range.first)
                    .arg(range.last)
                    .arg(r.m_nReceived);
        return false;
    }
    const int tabsBefore = dialog.Tabs()->Bar()->count();
    dialog.Graph()->SelectTimeRange(r.m_tTime[range.first - 1], r.m_tTime[range.last - 1]);
    if (RunEventsUntil([&] { return dialog.Tabs()->Bar()->count() > tabsBefore; }, kSelectTimeoutMs))
        return true;
    error = QStringLiteral("--select: the range was not taken");
    return false;
}

int Screenshot(CMainDialog& dialog, const QString& file, CDemoDriver* driver, bool download, SampleRange select)
{
    dialog.show();
    Settle();
    QString error;
    if (driver) {
        const bool ready = dialog.Automatic() ? driver->WaitForStation(error) : driver->WaitForDemo(download, error);
        if (!ready)
            return Fail(error);
    }
    Settle();
    if (select.IsSet() && !SelectSamples(dialog, select, error))
        return Fail(error);
    if (!dialog.grab().save(file, "PNG"))
        return Fail(QStringLiteral("cannot write %1").arg(file));
    return 0;
}

struct Options {
    QCommandLineOption simulate{
        QStringLiteral("simulate"),
        QStringLiteral("Demo mode: attach virtual loggers, each holding a day-long mission with an ID of its "
                       "own, plugged in a second after start. A comma-separated list of LINK[:TYPE]: LINK is "
                       "usb (TYPE 1-4) or serial (TYPE 2-6); TYPE defaults to 4, a temperature+humidity "
                       "logger."),
        QStringLiteral("LINK[:TYPE],...")};
    QCommandLineOption timeScale{QStringLiteral("time-scale"),
                                 QStringLiteral("With --simulate: the virtual logger's clock runs FACTOR times as "
                                                "fast as this computer's, so a mission started on it records "
                                                "that much faster (600: an hour in six seconds)."),
                                 QStringLiteral("FACTOR")};
    QCommandLineOption download{QStringLiteral("download"),
                                QStringLiteral("With --simulate: press Download once the virtual logger has "
                                               "been identified and its battery read.")};
    QCommandLineOption automatic{QStringLiteral("automatic"),
                                 QStringLiteral("Turn Automatic on for this run (not remembered): every logger "
                                                "plugged in is downloaded and archived with its reports.")};
    QCommandLineOption screenshot{
        QStringLiteral("screenshot"),
        QStringLiteral("Render the window into a PNG file and exit. With --simulate it first waits until the "
                       "logger has been identified and its battery read (and, with --download, until the "
                       "download has ended; with --automatic, until every virtual logger is archived or has "
                       "failed); it fails when that takes too long."),
        QStringLiteral("FILE.png")};
    QCommandLineOption select{
        QStringLiteral("select"),
        QStringLiteral("With --screenshot: select samples FIRST to LAST (numbered from 1) on the graph before "
                       "the picture is taken, as a drag would; the area tabs show."),
        QStringLiteral("FIRST-LAST")};
    QCommandLineOption lang{QStringLiteral("lang"),
                            QStringLiteral("Interface language, en or zh. Without it the desktop's: LC_ALL, "
                                           "LC_MESSAGES or LANG beginning with zh gives Chinese."),
                            QStringLiteral("en|zh")};
};

} // namespace

int main(int argc, char** argv)
{
    // Past a file-size limit a save fails with its error, not the signal.
    std::signal(SIGXFSZ, SIG_IGN);
    const DisplayChoice display
        = ChooseDisplay(argc, argv, [](const char* name) -> const char* { return std::getenv(name); });
    if (!display.missing.isEmpty()) {
        std::fprintf(stderr, "halvern-th: %s\n", display.missing.constData());
        return 1;
    }
    if (!display.platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", display.platform);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("halvern-th"));
    QApplication::setApplicationName(QStringLiteral("halvern-th"));
    QApplication::setApplicationVersion(QStringLiteral(HALVERN_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("halvern-th"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Temperature and humidity data logger manager"));
    parser.addHelpOption();
    parser.addVersionOption();
    const Options options;
    parser.addOptions({options.simulate, options.download, options.automatic, options.screenshot, options.select,
                       options.lang, options.timeScale});
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A .tavo data file to open."),
                                 QStringLiteral("[FILE.tavo]"));
    parser.process(app);

    std::uint16_t language = 0;
    if (QString error; !ChooseLanguage(parser.isSet(options.lang), parser.value(options.lang), language, error)) {
        std::fprintf(stderr, "halvern-th: %s\n", qPrintable(error));
        return 2;
    }
    if (language == LANG_CHINESE && !InstallQtTranslation(language, app))
        std::fprintf(stderr, "halvern-th: %s is not installed: Qt's own dialogs stay in English\n",
                     qPrintable(QtTranslationFile(language)));
    InstallQtMessagePoster();
    const bool shot = parser.isSet(options.screenshot);
    const bool download = parser.isSet(options.download);

    SampleRange select;
    if (parser.isSet(options.select)) {
        QString error;
        if (!shot || !ParseSampleRange(parser.value(options.select), select, error)) {
            std::fprintf(stderr, "halvern-th: %s\n", shot ? qPrintable(error) : "--select goes with --screenshot");
            return 2;
        }
    }

    // The demo logger is created before the dialog starts and outlives it.
    std::unique_ptr<CDemoLogger> demo;
    if (parser.isSet(options.timeScale) && !parser.isSet(options.simulate)) {
        std::fprintf(stderr, "halvern-th: --time-scale goes with --simulate\n");
        return 2;
    }
    if (parser.isSet(options.simulate)) {
        QString error;
        SimulateSpec base;
        std::vector<SimulateSpec> choices;
        const bool scaled = parser.isSet(options.timeScale);
        if (!ParseSimulateList(parser.value(options.simulate), base, choices, error)
            || (scaled && !ParseTimeScale(parser.value(options.timeScale), base, error))) {
            std::fprintf(stderr, "halvern-th: %s\n", qPrintable(error));
            return 2;
        }
        for (SimulateSpec& choice : choices)
            choice.timeScale = base.timeScale;
        demo = std::make_unique<CDemoLogger>(std::move(choices));
    }

    CMainDialog dialog(StartDisplay(language), shot ? QSize(1920, 1080) : QSize());
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("halvern-th"), dialog.windowIcon()));
    if (demo)
        dialog.setWindowTitle(dialog.windowTitle() + QStringLiteral(" \u2014 ") + demo->Label());
    // A screenshot shows the window as fitted, whatever the last run kept.
    if (!shot)
        dialog.RememberPlacement();
    if (parser.isSet(options.automatic))
        dialog.SetAutomatic(true, false);
    dialog.Start(parser.positionalArguments().value(0));
    CDemoDriver* driver = demo ? new CDemoDriver(dialog, *demo) : nullptr;
    if (driver) {
        // At once for a screenshot, else after a second, as a user would.
        driver->PlugInAfter(shot ? 0 : kPlugInDelayMs);
        if (download && !shot)
            driver->DownloadWhenIdentified();
    }
    if (shot)
        return Screenshot(dialog, parser.value(options.screenshot), driver, download, select);
    dialog.exec();
    return 0;
}
