#include "station/StationLogger.h"

#include "archive/Archive.h"
#include "link/serial/PortTable.h"
#include "link/usb/Ch375Library.h"
#include "record/Excursions.h"

#include <QFileInfo>

void SharedTimers::KillAll()
{
    for (int id = 0; id < kIdsPerLogger; ++id)
        KillTimer(id);
}

StationLogger::StationLogger(int key, DeadlineTimers& timers, const StationContext& context)
    : m_context(context), m_timers(timers, key), m_audit(context.audit), m_connection(*this, m_timers, context.display)
{
    m_row.key = key;
    m_connection.Workflow().SetHotPlug(false);
    m_connection.Workflow().SetAuditSink(&m_audit);
}

StationLogger::~StationLogger()
{
    Release();
}

void StationLogger::Release()
{
    m_timers.KillAll();
    m_connection.Workflow().Shutdown();
    if (m_usbIndex >= 0)
        GetCh375Library().CH375CloseDevice(static_cast<unsigned long>(m_usbIndex));
    if (m_registeredPort)
        PortTable::Instance().Unregister(m_port);
    m_usbIndex = -1;
    m_registeredPort = false;
}

bool StationLogger::AttachUsb(int index)
{
    if (!m_connection.Workflow().AttachUsb(index))
        return false;
    m_usbIndex = index;
    m_row.usb = true;
    m_row.port = QString::number(index);
    return true;
}

bool StationLogger::AttachPort(const QString& path)
{
    bool isNew = false;
    m_port = QFileInfo::exists(path) ? m_connection.Workflow().AttachPort(path, isNew) : 0;
    if (m_port == 0)
        return false;
    m_registeredPort = isNew;
    m_row.usb = false;
    m_row.port = path;
    return true;
}

void StationLogger::Advance(const Emit& tell)
{
    if (!m_row.attached)
        return;
    const LoggerWorkflow& workflow = m_connection.Workflow();
    if (m_row.state == StationState::Identifying) {
        switch (workflow.State()) {
        case LinkState::Ready: Identified(tell); break;
        case LinkState::Unanswered:
            Fail(m_row.usb ? QStringLiteral("the USB device %1 did not answer").arg(m_row.port)
                           : QStringLiteral("no logger answered on %1").arg(m_row.port),
                 tell);
            break;
        default: break;
        }
    } else if (m_row.state == StationState::Downloading) {
        if (workflow.IsDownloading())
            Progress(tell, false);
        else
            DownloadEnded(tell);
    }
}

void StationLogger::Identified(const Emit& tell)
{
    const CLoggerRecord& r = m_connection.Record();
    m_row.logger = r.m_strValue[ROW_ID].trimmed();
    m_row.type = r.m_nType;
    tell(StationEvent::Kind::Identified, m_row);
    StartDownload(tell);
}

void StationLogger::StartDownload(const Emit& tell)
{
    LoggerWorkflow& workflow = m_connection.Workflow();
    workflow.Download();
    if (!workflow.IsDownloading()) {
        Fail(QStringLiteral("the download did not start: %1").arg(workflow.LastOutcome().reason.trimmed()), tell);
        return;
    }
    m_row.state = StationState::Downloading;
    Progress(tell, true);
}

// At most one progress event a second, besides the first.
void StationLogger::Progress(const Emit& tell, bool force)
{
    const CLoggerRecord& r = m_connection.Record();
    const auto now = std::chrono::steady_clock::now();
    m_row.received = r.m_nReceived;
    m_row.total = r.m_nCount;
    if (!force && now - m_lastProgress < std::chrono::seconds(1))
        return;
    m_lastProgress = now;
    tell(StationEvent::Kind::Progress, m_row);
}

void StationLogger::DownloadEnded(const Emit& tell)
{
    const CLoggerRecord& r = m_connection.Record();
    const CommandOutcome& outcome = m_connection.Workflow().LastOutcome();
    m_row.received = r.m_nReceived;
    m_row.total = r.m_nCount;
    if (outcome.result == CommandOutcome::Result::Done && r.m_nReceived == r.m_nCount) {
        File(tell);
        return;
    }
    const QString why = outcome.reason.trimmed();
    Fail(why.isEmpty() ? QStringLiteral("the download failed") : QStringLiteral("the download failed: %1").arg(why), tell);
}

void StationLogger::File(const Emit& tell)
{
    const CLoggerRecord& r = m_connection.Record();
    m_row.samples = r.m_nReceived;
    m_row.excursions = static_cast<int>(FindExcursions(r).excursions.size());
    const FilingResult filed = FileMission(r, m_context.display, m_context.settings.folder, m_context.settings.reports);
    m_row.files = filed.files;
    m_row.dataFile = filed.dataFile;
    m_row.reason = filed.reason;
    m_audit.Release(filed.outcome == FilingResult::Outcome::Archived ? WrittenFile(filed.dataFile) : QJsonObject());
    switch (filed.outcome) {
    case FilingResult::Outcome::Failed:
        m_writeFailed = true;
        m_row.state = StationState::Failed;
        tell(StationEvent::Kind::Failed, m_row);
        return;
    case FilingResult::Outcome::AlreadyArchived:
        m_row.state = StationState::AlreadyArchived;
        Index();
        tell(StationEvent::Kind::AlreadyArchived, m_row);
        break;
    case FilingResult::Outcome::Archived:
        m_row.state = StationState::Archived;
        Index();
        tell(StationEvent::Kind::Archived, m_row);
        break;
    }
    if (m_context.settings.stopAfterDownload && m_connection.Workflow().MayConfigure())
        m_connection.Workflow().StopMission();
}

// The mission index is a help for finding files; the files stay the record,
// so a failing index only leaves a warning on the row.
void StationLogger::Index()
{
    if (!m_context.index || m_row.dataFile.isEmpty())
        return;
    const ImportResult imported = m_context.index(m_row.dataFile);
    if (imported.outcome == ImportResult::Failed || imported.outcome == ImportResult::Damaged)
        m_row.reason = QStringLiteral("not indexed in the archive: %1").arg(imported.reason);
}

void StationLogger::Fail(const QString& reason, const Emit& tell)
{
    m_row.state = StationState::Failed;
    m_row.reason = reason;
    tell(StationEvent::Kind::Failed, m_row);
}

void StationLogger::Detach(const Emit& tell)
{
    if (!m_row.attached)
        return;
    if (m_row.state == StationState::Downloading)
        Fail(QStringLiteral("the logger was pulled out during the download (%1 of %2 samples); nothing was written")
                 .arg(m_connection.Record().m_nReceived)
                 .arg(m_connection.Record().m_nCount),
             tell);
    else if (m_row.state == StationState::Identifying)
        Fail(QStringLiteral("the logger was pulled out before it was identified"), tell);
    Release();
    m_row.attached = false;
    tell(StationEvent::Kind::Detached, m_row);
}
