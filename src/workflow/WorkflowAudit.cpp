// The audit entries of the logger workflow's commands: what a completed
// download, a start, a stop and a clock set tell the trail.
#include "workflow/LoggerWorkflow.h"

#include "record/LoggerRecord.h"
#include "record/LoggerType.h"

#include <algorithm>
#include <ctime>

AuditEvent LoggerWorkflow::LoggerAudit(const char* action, QJsonObject detail) const
{
    return {QString::fromLatin1(action), m_record.m_strValue[ROW_ID].trimmed(), std::move(detail)};
}

AuditEvent LoggerWorkflow::DownloadAudit() const
{
    const CLoggerRecord& r = m_record;
    return LoggerAudit("download", {{"samples", r.m_nCount}, {"type", r.m_nType}, {"start", AuditTime(r.m_tStart)}});
}

AuditEvent LoggerWorkflow::StartAudit(const MissionSettings& s, const std::optional<QString>& description) const
{
    const LoggerType& type = LoggerTypeOf(m_record.m_nType);
    QJsonObject detail{{"interval_s", s.intervalMinutes * 60},
                       {"start", AuditTime(std::max(s.start, s.now))},
                       {"erased_samples", UndownloadedSamples()}};
    // Degrees C and %RH, as the settings carry them in hundredths.
    if (!type.clockWithInterval) {
        detail.insert("temp_low", s.lowTemp / 100.0);
        detail.insert("temp_high", s.highTemp / 100.0);
    }
    if (type.humidity && !type.clockWithInterval) {
        detail.insert("humi_low", s.humiLow / 100.0);
        detail.insert("humi_high", s.humiHigh / 100.0);
    }
    if (description && type.description)
        detail.insert("description", *description);
    return LoggerAudit("start", detail);
}

// The logger's clock as last read (null when it never reported one) and
// the computer's time it is set to.
AuditEvent LoggerWorkflow::ClockAudit() const
{
    const time64 old = m_record.m_tLoggerClock;
    return LoggerAudit("set-clock", {{"old", old != 0 ? QJsonValue(AuditTime(old)) : QJsonValue()},
                                     {"new", AuditTime(static_cast<time64>(std::time(nullptr)))}});
}

void LoggerWorkflow::RecordAudit(CommandOutcome::Result result, const QString& reason)
{
    const bool done = result == CommandOutcome::Result::Done;
    if (!m_audit || (!done && result != CommandOutcome::Result::Failed))
        return;
    AuditEvent event = std::move(*m_audit);
    m_audit.reset();
    if (event.action != QLatin1String("download")) {
        event.detail.insert("result", done ? QStringLiteral("done") : QStringLiteral("failed"));
        if (!done)
            event.detail.insert("reason", reason.trimmed());
    }
    if (m_pAudit)
        m_pAudit->Record(event);
}
