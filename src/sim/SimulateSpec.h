#pragma once

#include <QString>
#include <optional>
#include <vector>

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
    // Its place among several virtual loggers: each after the first answers
    // with an ID of its own.
    int ordinal = 0;
};

// The ID of a virtual logger: base for the first, for the others base with
// its last three characters made "9" and the two-digit ordinal, which no
// first logger's ID has.
QString SimulatedId(const QString& base, int ordinal);

// Reads a --time-scale value: a number above 0 up to 100000; false with
// error set otherwise.
bool ParseTimeScale(const QString& text, SimulateSpec& chosen, QString& error);

// Parses "usb[:TYPE]" or "serial[:TYPE]" into the link and type of chosen;
// false with error set when the text or the type is not one the virtual
// loggers offer (USB types 1..4, serial types 2..6).
bool ParseSimulateKind(const QString& text, SimulateSpec& chosen, QString& error);

// Parses a comma-separated list of kinds ("usb:4,usb:1,serial:3,serial:6"),
// each one a logger with its ordinal and the other knobs of base; false
// with error set when any kind is wrong or there are more than 16.
bool ParseSimulateList(const QString& text, const SimulateSpec& base, std::vector<SimulateSpec>& chosen, QString& error);
