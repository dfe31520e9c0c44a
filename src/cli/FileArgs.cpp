#include "cli/FileArgs.h"

#include "cli/CommandLine.h"
#include "record/TimeText.h"

#include <QDateTime>
#include <QRegularExpression>

namespace {

std::optional<TempUnit> UnitNamed(const QString& unit)
{
    if (unit.compare(QLatin1String("C"), Qt::CaseInsensitive) == 0)
        return TempUnit::Celsius;
    if (unit.compare(QLatin1String("F"), Qt::CaseInsensitive) == 0)
        return TempUnit::Fahrenheit;
    return std::nullopt;
}

} // namespace

bool ApplyUnits(const QStringList& units, DisplaySettings& display, QString& error)
{
    for (const QString& unit : units) {
        const std::optional<TempUnit> named = UnitNamed(unit);
        if (!named) {
            error = QStringLiteral("--unit must be C or F, not '%1'").arg(unit);
            return false;
        }
        display.unit = *named;
    }
    return true;
}

namespace {

int DaysInMonth(int year, int month)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

} // namespace

bool ParseLocalTimeArg(const QString& text, time64& t)
{
    static const QRegularExpression kTime(
        QStringLiteral("^([0-9]{4})-([0-9]{1,2})-([0-9]{1,2})[ T]([0-9]{1,2}):([0-9]{2})(?::([0-9]{2}))?$"));
    const QRegularExpressionMatch m = kTime.match(text.trimmed());
    if (!m.hasMatch())
        return false;
    const int year = m.captured(1).toInt(), month = m.captured(2).toInt(), day = m.captured(3).toInt();
    const int hour = m.captured(4).toInt(), minute = m.captured(5).toInt();
    const int second = m.captured(6).isEmpty() ? 0 : m.captured(6).toInt();
    if (year < 1970 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23
        || minute > 59 || second > 59)
        return false;
    const time64 value = MakeLocalTime(year, month, day, hour, minute, second);
    if (value == -1)
        return false;
    t = value;
    return true;
}

namespace {

// A local time, or an ISO 8601 time with its zone.
bool ParseZonedOrLocal(const QString& text, time64& t)
{
    if (ParseLocalTimeArg(text, t))
        return true;
    const QDateTime iso = QDateTime::fromString(text, Qt::ISODate);
    if (!iso.isValid() || iso.timeSpec() == Qt::LocalTime)
        return false;
    t = iso.toSecsSinceEpoch();
    return true;
}

} // namespace

bool TakeTimeOption(const CCommandLine& line, const QCommandLineOption& option, TimeForms forms,
                    std::optional<time64>& t, QString& error)
{
    if (!line.IsSet(option))
        return true;
    const QString text = line.Value(option);
    time64 value = 0;
    const bool zoned = forms == TimeForms::LocalOrZoned;
    if (!(zoned ? ParseZonedOrLocal(text, value) : ParseLocalTimeArg(text, value))) {
        error = QStringLiteral("--%1 takes a local time YYYY-MM-DD HH:MM[:SS]%2, not '%3'")
                    .arg(option.names().first(), zoned ? QStringLiteral(" or ISO 8601 with Z") : QString(), text);
        return false;
    }
    t = value;
    return true;
}

FileArgs ParseFileArgs(const QStringList& args, const DisplaySettings& display, std::span<const OutputOption> outputs,
                       bool withJson)
{
    const QCommandLineOption unit(QStringLiteral("unit"), QString(), QStringLiteral("C|F"));
    const QCommandLineOption from(QStringLiteral("from"), QString(), QStringLiteral("TIME"));
    const QCommandLineOption to(QStringLiteral("to"), QString(), QStringLiteral("TIME"));
    const QCommandLineOption json(QStringLiteral("json"));
    QList<QCommandLineOption> options{unit, from, to};
    QStringList usage;
    for (const OutputOption& output : outputs) {
        options << QCommandLineOption(QString::fromLatin1(output.name), QString(), QString::fromLatin1(output.valueName));
        usage << QStringLiteral("--%1 %2").arg(QLatin1String(output.name), QLatin1String(output.valueName));
    }
    if (withJson)
        options << json;
    CCommandLine line(options, "option");

    FileArgs out;
    out.display = display;
    const bool parsed = line.Parse(args);
    out.help = line.HelpAsked();
    if (out.help)
        return out;
    if (!parsed) {
        out.error = line.Error();
        return out;
    }
    if (!ApplyUnits(line.Values(unit), out.display, out.error) || !TakeTimeOption(line, from, TimeForms::Local, out.from, out.error)
        || !TakeTimeOption(line, to, TimeForms::Local, out.to, out.error))
        return out;
    const QStringList files = line.Positional();
    if (files.size() > 1) {
        out.error = QStringLiteral("only one data file, not also '%1'").arg(files[1]);
        return out;
    }
    out.file = files.value(0);
    out.json = withJson && line.IsSet(json);
    for (qsizetype i = 0; i < static_cast<qsizetype>(outputs.size()); ++i)
        if (const QString path = line.Value(options[3 + i]); !path.isEmpty())
            out.outputs.insert(QString::fromLatin1(outputs[i].name), path);
    if (out.file.isEmpty())
        out.error = QStringLiteral("no data file given");
    else if (!outputs.empty() && out.outputs.isEmpty())
        out.error = QStringLiteral("nothing to write: give one or more of %1").arg(usage.join(QStringLiteral(", ")));
    return out;
}
