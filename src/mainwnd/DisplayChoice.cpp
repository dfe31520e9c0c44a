#include "mainwnd/DisplayChoice.h"

#include <cstring>

namespace {

bool Is(const char* arg, const char* name)
{
    return std::strcmp(arg, name) == 0;
}

bool IsSet(const char* (*env)(const char*), const char* name)
{
    const char* value = env(name);
    return value && *value;
}

} // namespace

DisplayChoice ChooseDisplay(int argc, const char* const* argv, const char* (*env)(const char*))
{
    bool textOnly = false;
    bool screenshot = false;
    for (int i = 1; i < argc && !Is(argv[i], "--"); ++i) {
        const char* a = argv[i];
        textOnly = textOnly || Is(a, "-h") || Is(a, "--help") || Is(a, "-?") || Is(a, "--help-all")
            || Is(a, "-v") || Is(a, "--version");
        screenshot = screenshot || Is(a, "--screenshot") || std::strncmp(a, "--screenshot=", 13) == 0;
    }
    DisplayChoice choice;
    if (IsSet(env, "QT_QPA_PLATFORM"))
        return choice;
    const bool display = IsSet(env, "DISPLAY") || IsSet(env, "WAYLAND_DISPLAY");
    if (textOnly || (screenshot && !display))
        choice.platform = "offscreen";
    else if (!display)
        choice.missing = "no display to open the window on (DISPLAY and WAYLAND_DISPLAY are unset)";
    return choice;
}
