#include "cli/StartArgs.h"

#include "cli/FileArgs.h"

#include <QRegularExpression>

namespace {

// Takes "--name VALUE", "--name=VALUE" or, with count 2, "--name A B" out of
// args; the values taken are returned (the last given wins). False with
// error set when values are missing.
bool TakeOption(QStringList& args, const QString& name, int count, QStringList& values, QString& error)
{
    const QString flag = QStringLiteral("--") + name;
    for (int i = 0; i < args.size();) {
        if (args[i] == QLatin1String("--"))
            break;
        QStringList taken;
        int used = 0;
        if (count == 1 && args[i].startsWith(flag + QLatin1Char('='))) {
            taken << args[i].mid(flag.size() + 1);
            used = 1;
        } else if (args[i] == flag) {
            if (i + count >= args.size()) {
                error = count == 1 ? QStringLiteral("%1 needs a value").arg(flag)
                                   : QStringLiteral("%1 needs %2 values").arg(flag).arg(count);
                return false;
            }
            taken = args.mid(i + 1, count);
            used = 1 + count;
        }
        if (used == 0) {
            ++i;
            continue;
        }
        values = taken;
        args.erase(args.begin() + i, args.begin() + i + used);
    }
    return true;
}

bool TakeFlag(QStringList& args, const QString& name)
{
    const QString flag = QStringLiteral("--") + name;
    const qsizetype end = args.contains(QStringLiteral("--")) ? args.indexOf(QStringLiteral("--")) : args.size();
    bool found = false;
    for (qsizetype i = end - 1; i >= 0; --i) {
        if (args[i] == flag) {
            args.removeAt(i);
            found = true;
        }
    }
    return found;
}

bool TakeUnit(QStringList& args, StartArgs& out)
{
    QStringList unit;
    if (!TakeOption(args, QStringLiteral("unit"), 1, unit, out.error))
        return false;
    if (unit.isEmpty())
        return true;
    if (unit[0].compare(QLatin1String("C"), Qt::CaseInsensitive) != 0
        && unit[0].compare(QLatin1String("F"), Qt::CaseInsensitive) != 0) {
        out.error = QStringLiteral("--unit must be C or F, not '%1'").arg(unit[0]);
        return false;
    }
    out.fahrenheit = unit[0].compare(QLatin1String("F"), Qt::CaseInsensitive) == 0;
    return true;
}

bool TakeMission(QStringList& args, StartArgs& out)
{
    QStringList interval, at, temp, humi, description;
    if (!TakeOption(args, QStringLiteral("interval"), 1, interval, out.error)
        || !TakeOption(args, QStringLiteral("at"), 1, at, out.error)
        || !TakeOption(args, QStringLiteral("temp-limits"), 2, temp, out.error)
        || !TakeOption(args, QStringLiteral("humi-limits"), 2, humi, out.error)
        || !TakeOption(args, QStringLiteral("description"), 1, description, out.error) || !TakeUnit(args, out))
        return false;
    out.erase = TakeFlag(args, QStringLiteral("erase"));
    if (interval.isEmpty()) {
        out.error = QStringLiteral("--interval HH:MM is required");
        return false;
    }
    const std::optional<int> minutes = ParseIntervalArg(interval[0]);
    if (!minutes) {
        out.error = QStringLiteral("--interval takes HH:MM from 00:01 to 99:59, not '%1'").arg(interval[0]);
        return false;
    }
    out.intervalMinutes = *minutes;
    if (!at.isEmpty()) {
        time64 t = 0;
        if (!ParseLocalTimeArg(at[0], t)) {
            out.error = QStringLiteral("--at takes a local time YYYY-MM-DD HH:MM[:SS], not '%1'").arg(at[0]);
            return false;
        }
        out.at = t;
    }
    if (!temp.isEmpty()) {
        out.tempLow = temp[0];
        out.tempHigh = temp[1];
    }
    if (!humi.isEmpty()) {
        out.humiLow = humi[0];
        out.humiHigh = humi[1];
    }
    if (!description.isEmpty())
        out.description = description[0];
    return true;
}

} // namespace

std::optional<int> ParseIntervalArg(const QString& text)
{
    static const QRegularExpression kInterval(QStringLiteral("^(\\d{1,2}):(\\d{2})$"));
    const QRegularExpressionMatch m = kInterval.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const int hours = m.captured(1).toInt();
    const int minutes = m.captured(2).toInt();
    if (minutes > 59 || hours * 60 + minutes < 1)
        return std::nullopt;
    return hours * 60 + minutes;
}

StartArgs ParseStartArgs(const QStringList& args)
{
    StartArgs out;
    QStringList rest = args;
    const bool help = rest.contains(QStringLiteral("--help")) || rest.contains(QStringLiteral("-h"));
    if (!help && !TakeMission(rest, out))
        return out;
    out.link = ParseLinkOptions(rest, false);
    out.help = out.link.help;
    if (out.error.isEmpty())
        out.error = out.link.error;
    return out;
}

LinkOptions ParseStopArgs(const QStringList& args)
{
    return ParseLinkOptions(args, false);
}
