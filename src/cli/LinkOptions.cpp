#include "cli/LinkOptions.h"

#include "cli/CommandLine.h"
#include "link/usb/Ch375Library.h"

namespace {

struct LinkOptionSet {
    QCommandLineOption usb{QStringLiteral("usb"), QString(), QStringLiteral("INDEX")};
    QCommandLineOption port{QStringLiteral("port"), QString(), QStringLiteral("PATH")};
    QCommandLineOption simulate{QStringLiteral("simulate"), QString(), QStringLiteral("KIND")};
    QCommandLineOption trace{QStringLiteral("trace"), QString(), QStringLiteral("FILE")};
    QCommandLineOption output{{QStringLiteral("o"), QStringLiteral("output")}, QString(), QStringLiteral("FILE")};
    QCommandLineOption csv{QStringLiteral("csv"), QString(), QStringLiteral("FILE")};
    SimulateOptions mission;

    QList<QCommandLineOption> All(bool withOutputs) const
    {
        QList<QCommandLineOption> all{usb, port, simulate, trace};
        all << mission.All();
        if (withOutputs)
            all << output << csv;
        return all;
    }
};

// The link chosen by --usb, --port or --simulate; false with o.error set when wrong.
bool ReadLink(const CCommandLine& line, const LinkOptionSet& set, LinkOptions& o)
{
    const QStringList usb = line.Values(set.usb);
    const QStringList port = line.Values(set.port);
    const QStringList simulate = line.Values(set.simulate);
    if (usb.size() + port.size() + simulate.size() > 1) {
        o.error = QStringLiteral("give only one of --usb, --port and --simulate");
        return false;
    }
    if (!usb.isEmpty()) {
        o.link = LinkOptions::Link::Usb;
        if (!line.IntValue(set.usb, 0, Ch375Library::kMaxDevices - 1, o.usbIndex)) {
            o.error = QStringLiteral("--usb takes a device index 0..15, not '%1'").arg(usb[0]);
            return false;
        }
    } else if (!port.isEmpty()) {
        o.link = LinkOptions::Link::Port;
        o.portPath = port[0];
    } else if (!simulate.isEmpty()) {
        o.link = LinkOptions::Link::Simulate;
        return ParseSimulateKind(simulate[0], o.simulate, o.error);
    }
    return true;
}

} // namespace

bool SimulateOptions::AnyGiven(const CCommandLine& line) const
{
    return line.IsSet(samples) || line.IsSet(interval) || line.IsSet(unpaced) || line.IsSet(timeScale);
}

bool SimulateOptions::Read(const CCommandLine& line, SimulateSpec& chosen, QString& error) const
{
    if (!line.IntValue(samples, 0, 60000, chosen.samples)) {
        error = QStringLiteral("--samples takes 0..60000, not '%1'").arg(line.Value(samples));
        return false;
    }
    if (!line.IntValue(interval, 1, 24 * 60, chosen.intervalMinutes)) {
        error = QStringLiteral("--interval takes minutes 1..1440, not '%1'").arg(line.Value(interval));
        return false;
    }
    if (line.IsSet(unpaced))
        chosen.paced = false;
    if (line.IsSet(timeScale) && !ParseTimeScale(line.Value(timeScale), chosen, error))
        return false;
    return true;
}

LinkOptions ParseLinkOptions(const QStringList& args, bool withOutputs)
{
    const LinkOptionSet set;
    CCommandLine line(set.All(withOutputs), "argument");
    LinkOptions o;
    const bool parsed = line.Parse(args);
    o.help = line.HelpAsked();
    if (o.help)
        return o;
    if (!parsed) {
        o.error = line.Error();
        return o;
    }
    if (const QStringList extra = line.Positional(); !extra.isEmpty()) {
        o.error = QStringLiteral("unknown argument '%1'").arg(extra[0]);
        return o;
    }
    if (!ReadLink(line, set, o) || !set.mission.Read(line, o.simulate, o.error))
        return o;
    if (set.mission.AnyGiven(line) && o.link != LinkOptions::Link::Simulate) {
        o.error = QStringLiteral("--samples, --interval, --unpaced and --time-scale go with --simulate");
        return o;
    }
    o.tracePath = line.Value(set.trace);
    if (withOutputs) {
        o.output = line.Value(set.output);
        o.csv = line.Value(set.csv);
        if (o.output.isEmpty())
            o.error = QStringLiteral("-o FILE.tavo is required");
    }
    return o;
}
