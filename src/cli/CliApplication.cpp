#include "cli/CliCommands.h"

#include <cstring>

#ifdef HALVERN_CLI_PRINT
#include <QGuiApplication>

namespace {

// The command's name: the first argument that is neither one of the
// program's own options (--lang VALUE, --lang=VALUE, --help) nor a value.
const char* CommandName(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--lang") == 0)
            ++i;
        else if (argv[i][0] != '-')
            return argv[i];
    }
    return "";
}

} // namespace
#endif

std::unique_ptr<QCoreApplication> MakeCliApplication(int& argc, char** argv)
{
#ifdef HALVERN_CLI_PRINT
    // Printing draws pages with Qt GUI; without a display it draws offscreen.
    if (std::strcmp(CommandName(argc, argv), "print") == 0) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
            && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QGuiApplication>(argc, argv);
    }
#endif
    return std::make_unique<QCoreApplication>(argc, argv);
}
