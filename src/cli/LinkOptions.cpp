#include "cli/LinkOptions.h"

#include "link/usb/Ch375Library.h"

namespace {

bool ToInt(const QString& text, int low, int high, int& value)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < low || v > high)
        return false;
    value = v;
    return true;
}

// The value after option args[i]; empty with error set when there is none.
QString TakeValue(const QStringList& args, int& i, QString& error)
{
    if (i + 1 >= args.size()) {
        error = QStringLiteral("%1 needs a value").arg(args[i]);
        return {};
    }
    return args[++i];
}

bool SetLink(LinkOptions& o, LinkOptions::Link link)
{
    if (o.link != LinkOptions::Link::Detect) {
        o.error = QStringLiteral("give only one of --usb, --port and --simulate");
        return false;
    }
    o.link = link;
    return true;
}

bool TakeLinkOption(const QStringList& args, int& i, LinkOptions& o)
{
    const QString& a = args[i];
    if (a == QLatin1String("--usb")) {
        const QString v = TakeValue(args, i, o.error);
        if (!o.error.isEmpty() || !SetLink(o, LinkOptions::Link::Usb))
            return true;
        if (!ToInt(v, 0, Ch375Library::kMaxDevices - 1, o.usbIndex))
            o.error = QStringLiteral("--usb takes a device index 0..15, not '%1'").arg(v);
    } else if (a == QLatin1String("--port")) {
        o.portPath = TakeValue(args, i, o.error);
        if (o.error.isEmpty())
            SetLink(o, LinkOptions::Link::Port);
    } else if (a == QLatin1String("--simulate")) {
        const QString v = TakeValue(args, i, o.error);
        if (o.error.isEmpty() && SetLink(o, LinkOptions::Link::Simulate))
            ParseSimulateKind(v, o.simulate, o.error);
    } else if (a == QLatin1String("--trace")) {
        o.tracePath = TakeValue(args, i, o.error);
    } else {
        return false;
    }
    return true;
}

} // namespace

bool ParseSimulateKind(const QString& text, SimulateSpec& chosen, QString& error)
{
    const QString kind = text.section(QLatin1Char(':'), 0, 0);
    const bool hasType = text.contains(QLatin1Char(':'));
    chosen.serial = kind == QLatin1String("serial");
    if (!chosen.serial && kind != QLatin1String("usb")) {
        error = QStringLiteral("--simulate takes usb[:TYPE] or serial[:TYPE], not '%1'").arg(text);
        return false;
    }
    // USB loggers are types 1..4, serial ones 2..6.
    const int low = chosen.serial ? 2 : 1;
    const int high = chosen.serial ? 6 : 4;
    if (hasType && !ToInt(text.section(QLatin1Char(':'), 1), low, high, chosen.type)) {
        error = QStringLiteral("a virtual %1 logger is of type %2..%3, not '%4'").arg(kind).arg(low).arg(high).arg(text.section(QLatin1Char(':'), 1));
        return false;
    }
    return true;
}

bool TakeSimulateOption(const QStringList& args, int& i, SimulateSpec& chosen, QString& error)
{
    const QString& a = args[i];
    if (a == QLatin1String("--samples")) {
        const QString v = TakeValue(args, i, error);
        if (error.isEmpty() && !ToInt(v, 0, 60000, chosen.samples))
            error = QStringLiteral("--samples takes 0..60000, not '%1'").arg(v);
    } else if (a == QLatin1String("--interval")) {
        const QString v = TakeValue(args, i, error);
        if (error.isEmpty() && !ToInt(v, 1, 24 * 60, chosen.intervalMinutes))
            error = QStringLiteral("--interval takes minutes 1..1440, not '%1'").arg(v);
    } else if (a == QLatin1String("--unpaced")) {
        chosen.paced = false;
    } else {
        return false;
    }
    return true;
}

LinkOptions ParseLinkOptions(const QStringList& args, bool withOutputs)
{
    LinkOptions o;
    bool simulateOptions = false;
    for (int i = 0; i < args.size() && o.error.isEmpty(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            o.help = true;
        } else if (TakeLinkOption(args, i, o)) {
        } else if (TakeSimulateOption(args, i, o.simulate, o.error)) {
            simulateOptions = true;
        } else if (withOutputs && (a == QLatin1String("-o") || a == QLatin1String("--output"))) {
            o.output = TakeValue(args, i, o.error);
        } else if (withOutputs && a == QLatin1String("--csv")) {
            o.csv = TakeValue(args, i, o.error);
        } else {
            o.error = QStringLiteral("unknown argument '%1'").arg(a);
        }
    }
    if (o.help)
        o.error.clear();
    else if (o.error.isEmpty() && simulateOptions && o.link != LinkOptions::Link::Simulate)
        o.error = QStringLiteral("--samples, --interval and --unpaced go with --simulate");
    else if (o.error.isEmpty() && withOutputs && o.output.isEmpty())
        o.error = QStringLiteral("-o FILE.tavo is required");
    return o;
}
