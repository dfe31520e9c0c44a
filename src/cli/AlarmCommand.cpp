// The alarms command: the excursions past the alarm limits of a data file.
#include "cli/AlarmOutput.h"
#include "cli/CliCommands.h"
#include "cli/ConsoleText.h"
#include "cli/FileTarget.h"

namespace {

const char kAlarmsHelp[] =
    "usage: halvern-th-cli alarms FILE.tavo [--from TIME] [--to TIME] [--unit C|F] [--json]\n\n"
    "Opens a data file and lists its alarm excursions: for each alarm limit\n"
    "in force, every run of consecutive samples strictly above the upper or\n"
    "below the lower limit (a missing sample ends a run). One tab-separated\n"
    "line per excursion: channel, limit, limit value, first and last sample\n"
    "time, duration (samples x interval), peak; then one totals line per\n"
    "channel: excursions, time above, time below, longest excursion.\n"
    "Temperatures in degrees F unless --unit C.\n\n"
    "With --json one object: {\"unit\", \"excursions\": [{\"channel\", \"limit\",\n"
    "\"limit_value\", \"first\", \"last\", \"samples\", \"duration_s\", \"peak\"}],\n"
    "\"totals\": {CHANNEL: {\"excursions\", \"above_s\", \"below_s\", \"longest_s\"}}},\n"
    "times in ISO 8601 local time, values rounded to 0.01.\n\n"
    "--from and --to take a range of the record as 'info' does. Exits 0\n"
    "whether or not there are excursions, 1 when the file cannot be read.\n";

} // namespace

int RunAlarms(const QStringList& args, const DisplaySettings& display)
{
    FileArgs parsed;
    FileTarget target;
    if (const int rc = PrepareFileCommand("alarms", kAlarmsHelp, args, display, {{}, true}, parsed, target); rc >= 0)
        return rc;
    const AlarmReport report = FindExcursions(target.Record());
    Print(stdout, parsed.json ? AlarmJson(report, parsed.display.unit) : AlarmLines(report, parsed.display));
    return 0;
}
