#include "cli/FileArgs.h"

#include "record/Units.h"

namespace {

// "--name VALUE" or "--name=VALUE"; false when arg is not that option.
bool TakeOption(const QStringList& args, int& i, const QString& name, QString& value, QString& error)
{
    const QString& arg = args[i];
    if (arg.startsWith(name + '=')) {
        value = arg.mid(name.size() + 1);
        return true;
    }
    if (arg != name)
        return false;
    if (i + 1 >= args.size())
        error = name + " needs a value";
    else
        value = args[++i];
    return true;
}

bool SetUnit(const QString& unit)
{
    if (unit.compare(QLatin1String("C"), Qt::CaseInsensitive) == 0)
        g_strTempUnit = g_strUnitC;
    else if (unit.compare(QLatin1String("F"), Qt::CaseInsensitive) == 0)
        g_strTempUnit = g_strUnitF;
    else
        return false;
    return true;
}

} // namespace

FileArgs ParseFileArgs(const QStringList& args, bool withOutputs)
{
    FileArgs out;
    for (int i = 0; i < args.size() && out.error.isEmpty() && !out.help; ++i) {
        const QString& arg = args[i];
        QString unit;
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            out.help = true;
        } else if (TakeOption(args, i, QStringLiteral("--unit"), unit, out.error)) {
            if (out.error.isEmpty() && !SetUnit(unit))
                out.error = QStringLiteral("--unit must be C or F, not '%1'").arg(unit);
        } else if (withOutputs && TakeOption(args, i, QStringLiteral("--tavo"), out.tavoOut, out.error)) {
        } else if (withOutputs && TakeOption(args, i, QStringLiteral("--csv"), out.csvOut, out.error)) {
        } else if (arg.startsWith('-') && arg.size() > 1) {
            out.error = QStringLiteral("unknown option '%1'").arg(arg);
        } else if (!out.file.isEmpty()) {
            out.error = QStringLiteral("only one data file, not also '%1'").arg(arg);
        } else {
            out.file = arg;
        }
    }
    if (out.help || !out.error.isEmpty())
        return out;
    if (out.file.isEmpty())
        out.error = QStringLiteral("no data file given");
    else if (withOutputs && out.tavoOut.isEmpty() && out.csvOut.isEmpty())
        out.error = QStringLiteral("nothing to write: give --tavo OUT.tavo and/or --csv OUT.csv");
    return out;
}
