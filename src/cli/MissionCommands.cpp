// The logger commands that start and stop a mission: start, stop.
#include "cli/CliAudit.h"
#include "cli/CliCommands.h"
#include "cli/ConsoleText.h"
#include "cli/LoggerSession.h"
#include "cli/StartArgs.h"

#include "base/PrintableText.h"
#include "base/TextTable.h"
#include "record/LoggerRecord.h"
#include "record/LoggerType.h"
#include "workflow/MissionEntry.h"

#include <cstdio>
#include <ctime>

namespace {

constexpr int kTextAlarmSetWrong = 101;

const char kStartHelp[] =
    "usage: halvern-th-cli start --interval HH:MM [--at \"YYYY-MM-DD HH:MM[:SS]\"]\n"
    "                            [--temp-limits LO HI] [--humi-limits LO HI]\n"
    "                            [--description TEXT] [--unit C|F] [--erase] [LINK OPTIONS]\n\n"
    "Identifies the logger and starts its next mission, as the window's Start\n"
    "Setting does: samples every HH:MM from --at (or now, when it is missing or\n"
    "past), alarm limits read in --unit (default F; negative values such as\n"
    "--temp-limits -2 8 are values), a description of at most 24 characters.\n"
    "Omitted limits and description keep the logger's current ones. A logger\n"
    "holding samples not downloaded is refused unless --erase is given: the new\n"
    "mission erases them. Refusals exit 2 before anything is sent.\n\n";
const char kStopHelp[] =
    "usage: halvern-th-cli stop [LINK OPTIONS]\n\n"
    "Identifies the logger and stops its mission. Exits 0 when the logger\n"
    "answered and no longer records, otherwise 1.\n\n";
const char kLinkHelp[] =
    "Link: --usb INDEX, --port PATH or --simulate usb|serial[:TYPE] (with\n"
    "--samples, --interval ... see 'halvern-th-cli status --help'), --trace FILE.\n"
    "Exits 0 on success, 1 when the logger did not do it, 2 for wrong arguments\n"
    "or a refused mission, with a one-line reason.\n";

int Line(const char* command, const QString& reason, int code)
{
    PrintNow(stderr, QStringLiteral("halvern-th-cli %1: %2\n").arg(QLatin1String(command), PrintableText(reason)));
    return code;
}

// A limit the logger holds (degrees C or %RH) as text in the unit given.
QString Held(float value, bool fahrenheit)
{
    const double shown = fahrenheit ? static_cast<double>(value) * 1.8 + 32.0 : static_cast<double>(value);
    return QString::number(shown, 'g', 10);
}

// Why the logger's type refuses what was asked; empty when it takes it.
QString TypeRefusal(const StartArgs& a, const CLoggerRecord& r)
{
    const LoggerType& type = LoggerTypeOf(r.m_nType);
    if (a.humiLow && !type.humidity)
        return QStringLiteral("a type %1 logger has no humidity limits").arg(r.m_nType);
    if (a.description && !type.description)
        return QStringLiteral("a type %1 logger holds no description").arg(r.m_nType);
    if (a.description && a.description->size() > kMaxDescriptionChars)
        return QStringLiteral("the description has %1 characters; a logger holds at most %2")
            .arg(a.description->size())
            .arg(kMaxDescriptionChars);
    if (type.clockWithInterval && (a.tempLow || a.at))
        return QStringLiteral("a type %1 logger takes only the interval: no limits, no --at").arg(r.m_nType);
    return {};
}

MissionEntry EntryOf(const StartArgs& a, const CLoggerRecord& r)
{
    MissionEntry e;
    e.id = r.m_strValue[ROW_ID].left(11);
    e.now = static_cast<time64>(std::time(nullptr));
    e.start = a.at.value_or(e.now);
    e.intervalMinutes = a.intervalMinutes;
    e.fahrenheit = a.fahrenheit;
    e.lowTemp = a.tempLow.value_or(Held(r.m_fLowLimit, a.fahrenheit));
    e.highTemp = a.tempHigh.value_or(Held(r.m_fHighLimit, a.fahrenheit));
    e.lowHumi = a.humiLow.value_or(Held(r.m_fHumiLowLimit, false));
    e.highHumi = a.humiHigh.value_or(Held(r.m_fHumiHighLimit, false));
    return e;
}

} // namespace

int RunStart(const QStringList& args, const DisplaySettings& display)
{
    const StartArgs a = ParseStartArgs(args);
    if (a.help) {
        std::fputs(kStartHelp, stdout);
        std::fputs(kLinkHelp, stdout);
        return 0;
    }
    if (!a.error.isEmpty())
        return Line("start", a.error + QStringLiteral(" (try --help)"), 2);
    CCliAudit audit("start");
    LoggerSession session(a.link, display);
    session.Connection().Workflow().SetAuditSink(&audit);
    if (!session.Connect())
        return Line("start", session.Error(), 1);
    const CLoggerRecord& r = session.Connection().Record();
    if (!session.Workflow().MayConfigure())
        return Line("start", QStringLiteral("a type %1 logger is not started over %2").arg(r.m_nType).arg(session.LinkName()), 2);
    if (const QString refusal = TypeRefusal(a, r); !refusal.isEmpty())
        return Line("start", refusal, 2);
    const MissionCheck check = CheckMissionEntry(r.m_nType, EntryOf(a, r), GetText(kTextAlarmSetWrong, display.language));
    if (!check.ok)
        return Line("start", check.error, 2);
    if (const int held = session.Workflow().UndownloadedSamples(); held > 0 && !a.erase)
        return Line("start", QStringLiteral("the logger holds %1 samples that have not been downloaded; --erase starts a new mission all the same").arg(held), 2);
    if (!session.Start(check.settings, a.description))
        return Line("start", session.Error(), 1);
    PrintNow(stderr, QStringLiteral("logger %1 started: %2\n").arg(PrintableText(r.m_strValue[ROW_ID].trimmed()),
                                                                 session.Workflow().LastOutcome().reason.trimmed()));
    return 0;
}

int RunStop(const QStringList& args, const DisplaySettings& display)
{
    const LinkOptions o = ParseStopArgs(args);
    if (o.help) {
        std::fputs(kStopHelp, stdout);
        std::fputs(kLinkHelp, stdout);
        return 0;
    }
    if (!o.error.isEmpty())
        return Line("stop", o.error + QStringLiteral(" (try --help)"), 2);
    CCliAudit audit("stop");
    LoggerSession session(o, display);
    session.Connection().Workflow().SetAuditSink(&audit);
    if (!session.Connect())
        return Line("stop", session.Error(), 1);
    if (!session.Stop())
        return Line("stop", session.Error(), 1);
    PrintNow(stderr, QStringLiteral("logger %1 stopped\n").arg(PrintableText(session.Connection().Record().m_strValue[ROW_ID].trimmed())));
    return 0;
}
