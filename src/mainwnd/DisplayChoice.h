#pragma once

#include <QByteArray>

// Chooses, before the application object exists, how the program reaches a
// display: --help and --version print their text and --screenshot renders
// off screen, none of which needs a display; the window does.
struct DisplayChoice {
    // The Qt platform to use instead of the desktop's ("offscreen"), or empty.
    QByteArray platform;
    // No display to open the window on: the reason, for one line on stderr.
    QByteArray missing;
};

// argv as main() gets it; env: the value of an environment variable or null.
DisplayChoice ChooseDisplay(int argc, const char* const* argv, const char* (*env)(const char*));
