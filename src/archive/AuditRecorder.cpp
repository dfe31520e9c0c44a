#include "archive/AuditRecorder.h"

#include "archive/Archive.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLockFile>
#include <QSysInfo>
#include <pwd.h>
#include <unistd.h>

namespace {

// How long an append waits for another program's use of the queue.
constexpr int kQueueLockMs = 10000;

QString OperatingSystemUser()
{
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    if (getpwuid_r(geteuid(), &entry, buffer, sizeof buffer, &found) == 0 && found)
        return QString::fromLocal8Bit(found->pw_name);
    const QString name = qEnvironmentVariable("USER");
    return name.isEmpty() ? QString::number(geteuid()) : name;
}

} // namespace

AuditEntry StampAuditEntry(const AuditEvent& event)
{
    AuditEntry e;
    e.time = AuditTime(QDateTime::currentSecsSinceEpoch());
    e.user = OperatingSystemUser();
    e.host = QSysInfo::machineHostName();
    e.action = event.action;
    e.logger = event.logger;
    e.detail = QString::fromUtf8(QJsonDocument(event.detail).toJson(QJsonDocument::Compact));
    return e;
}

CAuditRecorder::CAuditRecorder(QString address, QString queuePath)
    : m_address(std::move(address)), m_queue(std::move(queuePath))
{
}

CAuditRecorder::~CAuditRecorder() = default;

bool CAuditRecorder::Open(QString& error)
{
    if (m_archive)
        return true;
    ArchiveAddress address;
    if (!ParseArchiveAddress(m_address.isEmpty() ? DefaultArchiveAddress() : m_address, address, error))
        return false;
    auto archive = std::make_unique<CArchive>();
    if (!archive->Open(address, error))
        return false;
    m_archive = std::move(archive);
    return true;
}

void CAuditRecorder::Record(const AuditEvent& event)
{
    QString why;
    Append(event, why);
    if (!why.isEmpty() && m_show)
        m_show(why);
}

bool CAuditRecorder::Append(const AuditEvent& event, QString& why)
{
    why.clear();
    const AuditEntry entry = StampAuditEntry(event);
    QDir().mkpath(QFileInfo(m_queue.Path()).absolutePath());
    QLockFile lock(m_queue.Path() + QStringLiteral(".lock"));
    if (!lock.tryLock(kQueueLockMs)) {
        // Without the queue only this entry can go in; the waiting ones stay.
        QString error;
        std::vector<AuditEntry> alone{entry};
        if (Open(error) && m_archive->AppendAudit(alone, error))
            return true;
        m_archive.reset();
        why = QStringLiteral("not recorded in the audit trail: %1; nor kept for later: the audit queue %2 is locked")
                  .arg(error, m_queue.Path());
        return false;
    }
    return AppendWaiting(entry, why);
}

// With the queue locked: the waiting entries and then entry, or entry into the queue.
bool CAuditRecorder::AppendWaiting(AuditEntry entry, QString& why)
{
    QString queueError;
    std::vector<AuditEntry> batch;
    const bool queueRead = m_queue.Read(batch, queueError);
    if (!queueRead)
        batch.clear();
    const std::size_t waiting = batch.size();
    batch.push_back(entry);
    QString error;
    if (Open(error) && m_archive->AppendAudit(batch, error)) {
        if (!queueRead)
            why = QStringLiteral("recorded in the audit trail, but %1").arg(queueError);
        else if (waiting > 0 && !m_queue.Drop(waiting, queueError))
            why = QStringLiteral("recorded in the audit trail with the %1 entries that waited, but they stay queued "
                                 "and will be recorded again: %2")
                      .arg(waiting)
                      .arg(queueError);
        return true;
    }
    // The connection may be gone: the next append connects anew.
    m_archive.reset();
    if (queueRead && m_queue.Add(entry, queueError))
        why = QStringLiteral("not recorded in the audit trail: %1; kept in %2 until the archive can be written")
                  .arg(error, m_queue.Path());
    else
        why = QStringLiteral("not recorded in the audit trail: %1; nor kept for later: %2").arg(error, queueError);
    return false;
}
