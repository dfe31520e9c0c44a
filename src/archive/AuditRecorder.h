#pragma once

#include "archive/AuditQueue.h"
#include "base/AuditEvent.h"

#include <QString>
#include <functional>
#include <memory>

class CArchive;

// Records actions in the audit trail of an archive, stamped with the time,
// the operating-system user and the host. When the archive cannot be opened
// or written, the entry waits in the local queue instead, and the next
// append that succeeds records the waiting entries first, in their order.
// The archive is opened at the first append and kept open.
class CAuditRecorder : public IAuditSink {
public:
    // address: an archive address as --archive-db takes it; empty: the
    // default archive (see DefaultArchiveAddress).
    explicit CAuditRecorder(QString address = {}, QString queuePath = DefaultAuditQueuePath());
    ~CAuditRecorder() override;
    CAuditRecorder(const CAuditRecorder&) = delete;
    CAuditRecorder& operator=(const CAuditRecorder&) = delete;

    // Appends the entry of event; false with why (worded for the user, and
    // saying whether the entry waits in the queue) when it was not recorded.
    bool Append(const AuditEvent& event, QString& why);
    // Append, with a failure handed to the handler given to OnFailure.
    void Record(const AuditEvent& event) override;
    void OnFailure(std::function<void(const QString& why)> show) { m_show = std::move(show); }

    const QString& QueuePath() const { return m_queue.Path(); }

private:
    bool Open(QString& error);
    bool AppendWaiting(AuditEntry entry, QString& error);

    QString m_address;
    CAuditQueue m_queue;
    std::unique_ptr<CArchive> m_archive; // null until opened
    std::function<void(const QString&)> m_show;
};

// The entry of event as this user on this host records it now.
AuditEntry StampAuditEntry(const AuditEvent& event);
