#pragma once

#include <QString>
#include <QStringList>

// Which kind of virtual logger --simulate or the simulate command asks for.
struct SimulateSpec {
    bool serial = false;
    int type = 4;  // temperature and humidity unless told otherwise
    int samples = 144;      // a day at the default interval
    int intervalMinutes = 10;
    bool paced = true;      // serial: 9600 baud; false: as fast as the pty takes it
};

// Parses "usb[:TYPE]" or "serial[:TYPE]" into chosen; false with error set
// when the text or the type is not one the virtual loggers offer.
bool ParseSimulateKind(const QString& text, SimulateSpec& chosen, QString& error);
// Takes --samples N, --interval MIN and --unpaced at args[i] (advancing i);
// returns false when args[i] is none of them; error is set when its value is wrong.
bool TakeSimulateOption(const QStringList& args, int& i, SimulateSpec& chosen, QString& error);

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
