// halvern-th: the main window.
//   halvern-th [--screenshot FILE.png] [FILE.tavo]
// --screenshot renders the window, laid out as on a 1920 x 1080 screen so
// pictures come out alike on every machine, into a PNG file and exits.
#include "app/TextTable.h"
#include "mainwnd/MolvaneQuillmarDlg.h"
#include "mainwnd/QtMessagePoster.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <cstdio>

namespace {

void Settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

int Screenshot(CMolvaneQuillmarDlg& dialog, const QString& file)
{
    dialog.show();
    Settle();
    if (!dialog.grab().save(file, "PNG")) {
        std::fprintf(stderr, "halvern-th: cannot write %s\n", qPrintable(file));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("halvern-th"));
    QApplication::setDesktopFileName(QStringLiteral("halvern-th"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Temperature and humidity data logger manager"));
    parser.addHelpOption();
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Render the window into a PNG file and exit."),
                                        QStringLiteral("FILE.png"));
    parser.addOption(screenshot);
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A .tavo data file to open."),
                                 QStringLiteral("[FILE.tavo]"));
    parser.process(app);

    InitLanguageAndUnits();
    InstallQtMessagePoster();
    const QString file = parser.positionalArguments().value(0);
    const bool shot = parser.isSet(screenshot);

    CMolvaneQuillmarDlg dialog(shot ? QSize(1920, 1080) : QSize(), file);
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("halvern-th"), dialog.windowIcon()));
    if (shot)
        return Screenshot(dialog, parser.value(screenshot));
    dialog.exec();
    return 0;
}
