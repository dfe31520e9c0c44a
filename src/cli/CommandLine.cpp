#include "cli/CommandLine.h"

namespace {

// "--name=value" -> "name"; "-o" -> "o".
QString OptionName(const QString& arg)
{
    const qsizetype dashes = arg.startsWith(QLatin1String("--")) ? 2 : 1;
    return arg.mid(dashes).section(QLatin1Char('='), 0, 0);
}

bool IsOption(const QString& arg)
{
    return arg.size() > 1 && arg.startsWith(QLatin1Char('-')) && arg != QLatin1String("--");
}

} // namespace

CCommandLine::CCommandLine(const QList<QCommandLineOption>& options, const char* unknownWord)
    : m_help({QStringLiteral("h"), QStringLiteral("help")}, QString())
    , m_options(options)
    , m_unknownWord(QLatin1String(unknownWord))
{
    // "-unit" is the option "unit", not -u -n -i -t.
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addOption(m_help);
    m_parser.addOptions(m_options);
}

bool CCommandLine::Parse(const QStringList& args)
{
    // The parser takes the program name first.
    if (m_parser.parse(QStringList{QString()} + args))
        return true;
    m_error = Wording(args);
    return false;
}

bool CCommandLine::IntValue(const QCommandLineOption& option, int low, int high, int& value) const
{
    int last = value;
    for (const QString& text : Values(option)) {
        bool ok = false;
        last = text.toInt(&ok);
        if (!ok || last < low || last > high)
            return false;
    }
    value = last;
    return true;
}

QString CCommandLine::Wording(const QStringList& args) const
{
    const QStringList unknown = m_parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
        for (const QString& arg : args)
            if (IsOption(arg) && OptionName(arg) == unknown.first())
                return QStringLiteral("unknown %1 '%2'").arg(m_unknownWord, arg);
        return QStringLiteral("unknown %1 '--%2'").arg(m_unknownWord, unknown.first());
    }
    // A value option swallows the argument after it, so only the last one can lack its value.
    if (!args.isEmpty() && IsOption(args.last()) && !args.last().contains(QLatin1Char('='))
        && TakesValue(OptionName(args.last())))
        return QStringLiteral("%1 needs a value").arg(args.last());
    // A switch given a value: --unpaced=1.
    for (const QString& arg : args)
        if (IsOption(arg) && arg.contains(QLatin1Char('=')) && !TakesValue(OptionName(arg)))
            return QStringLiteral("unknown %1 '%2'").arg(m_unknownWord, arg);
    return m_parser.errorText();
}

bool CCommandLine::TakesValue(const QString& name) const
{
    for (const QCommandLineOption& option : m_options)
        if (option.names().contains(name))
            return !option.valueName().isEmpty();
    return false;
}
