#include "cli/CliCommands.h"

#ifdef HALVERN_CLI_PRINT
#include <QGuiApplication>
#endif
#include <cstring>

std::unique_ptr<QCoreApplication> MakeCliApplication(int& argc, char** argv)
{
#ifdef HALVERN_CLI_PRINT
    // Printing draws pages with Qt GUI; without a display it draws offscreen.
    if (argc > 1 && std::strcmp(argv[1], "print") == 0) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
            && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QGuiApplication>(argc, argv);
    }
#endif
    return std::make_unique<QCoreApplication>(argc, argv);
}
