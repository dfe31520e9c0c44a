#include "cli/FileArgs.h"

#include "cli/CommandLine.h"
#include "record/Units.h"

namespace {

const QString* UnitNamed(const QString& unit)
{
    if (unit.compare(QLatin1String("C"), Qt::CaseInsensitive) == 0)
        return &g_strUnitC;
    if (unit.compare(QLatin1String("F"), Qt::CaseInsensitive) == 0)
        return &g_strUnitF;
    return nullptr;
}

// Sets the temperature unit of the last --unit; false with error set when
// one of them is neither C nor F.
bool ApplyUnits(const QStringList& units, QString& error)
{
    for (const QString& unit : units) {
        const QString* named = UnitNamed(unit);
        if (!named) {
            error = QStringLiteral("--unit must be C or F, not '%1'").arg(unit);
            return false;
        }
        g_strTempUnit = *named;
    }
    return true;
}

} // namespace

FileArgs ParseFileArgs(const QStringList& args, bool withOutputs)
{
    const QCommandLineOption unit(QStringLiteral("unit"), QString(), QStringLiteral("C|F"));
    const QCommandLineOption tavo(QStringLiteral("tavo"), QString(), QStringLiteral("OUT.tavo"));
    const QCommandLineOption csv(QStringLiteral("csv"), QString(), QStringLiteral("OUT.csv"));
    QList<QCommandLineOption> options{unit};
    if (withOutputs)
        options << tavo << csv;
    CCommandLine line(options, "option");

    FileArgs out;
    const bool parsed = line.Parse(args);
    out.help = line.HelpAsked();
    if (out.help)
        return out;
    if (!parsed) {
        out.error = line.Error();
        return out;
    }
    if (!ApplyUnits(line.Values(unit), out.error))
        return out;
    const QStringList files = line.Positional();
    if (files.size() > 1) {
        out.error = QStringLiteral("only one data file, not also '%1'").arg(files[1]);
        return out;
    }
    out.file = files.value(0);
    if (withOutputs) {
        out.tavoOut = line.Value(tavo);
        out.csvOut = line.Value(csv);
    }
    if (out.file.isEmpty())
        out.error = QStringLiteral("no data file given");
    else if (withOutputs && out.tavoOut.isEmpty() && out.csvOut.isEmpty())
        out.error = QStringLiteral("nothing to write: give --tavo OUT.tavo and/or --csv OUT.csv");
    return out;
}
