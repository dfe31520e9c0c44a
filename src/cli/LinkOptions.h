#pragma once

#include "sim/SimulateSpec.h"

#include <QCommandLineOption>
#include <QString>
#include <QStringList>

class CCommandLine;

// --samples N, --interval MIN, --unpaced and --time-scale FACTOR: the
// mission of a virtual logger and how fast its clock runs.
struct SimulateOptions {
    QCommandLineOption samples{QStringLiteral("samples"), QString(), QStringLiteral("N")};
    QCommandLineOption interval{QStringLiteral("interval"), QString(), QStringLiteral("MIN")};
    QCommandLineOption unpaced{QStringLiteral("unpaced"), QString()};
    QCommandLineOption timeScale{QStringLiteral("time-scale"), QString(), QStringLiteral("FACTOR")};

    QList<QCommandLineOption> All() const { return {samples, interval, unpaced, timeScale}; }
    bool AnyGiven(const CCommandLine& line) const;
    // Reads those given into chosen; false with error set when a value is out of range.
    bool Read(const CCommandLine& line, SimulateSpec& chosen, QString& error) const;
};

// The options of the logger commands: which link, the frame trace, outputs.
struct LinkOptions {
    enum class Link { Detect, Usb, Port, Simulate };
    Link link = Link::Detect;
    int usbIndex = -1;
    QString portPath;
    SimulateSpec simulate;
    QString tracePath;
    QString output;  // download: the data file
    QString csv;     // download: the CSV file
    bool help = false;
    QString error;   // not empty when the arguments are wrong
};

// Accepts --usb INDEX, --port PATH, --simulate usb|serial[:TYPE] with
// --samples/--interval/--unpaced, --trace FILE and --help; with outputs
// also -o/--output FILE and --csv FILE.
LinkOptions ParseLinkOptions(const QStringList& args, bool withOutputs);
