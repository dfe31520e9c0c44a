#pragma once

#include <QString>
#include <optional>

// Which virtual logger a program attaches on request (the window's
// --simulate, the CLI's --simulate and its simulate command), and the
// mission it holds.
struct SimulateSpec {
    bool serial = false;       // a virtual serial logger on a pseudo-terminal; else a virtual USB logger
    int type = 4;              // temperature and humidity unless told otherwise
    int samples = 144;         // a day at the default interval
    int intervalMinutes = 10;
    bool paced = true;         // serial: 9600 baud; false: as fast as the pty takes it
    // How much faster than the computer's the logger's clock runs (a mission
    // started on it records that much faster). Not given: a virtual USB
    // logger's clock moves only with the commands that set it.
    std::optional<double> timeScale = std::nullopt;
};

// Reads a --time-scale value: a number above 0 up to 100000; false with
// error set otherwise.
bool ParseTimeScale(const QString& text, SimulateSpec& chosen, QString& error);

// Parses "usb[:TYPE]" or "serial[:TYPE]" into the link and type of chosen;
// false with error set when the text or the type is not one the virtual
// loggers offer (USB types 1..4, serial types 2..6).
bool ParseSimulateKind(const QString& text, SimulateSpec& chosen, QString& error);
