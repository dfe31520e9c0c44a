#pragma once

#include "archive/AuditTrail.h"

#include <QString>
#include <vector>

// Trail entries that could not be recorded yet, oldest first, in a local
// file of one JSON object a line: {"time", "user", "host", "action",
// "logger", "detail"}. Every change rewrites the file whole through a
// temporary file that is flushed to the disk before it replaces the old
// one, so a crash leaves either the old queue or the new one.
class CAuditQueue {
public:
    explicit CAuditQueue(QString path);

    const QString& Path() const { return m_path; }
    // The entries waiting (none when there is no file); false with error
    // set when the file cannot be read or holds a line that is no entry.
    bool Read(std::vector<AuditEntry>& entries, QString& error) const;
    // Adds entry after those waiting.
    bool Add(const AuditEntry& entry, QString& error);
    // Drops the first count entries (those just recorded).
    bool Drop(std::size_t count, QString& error);

private:
    bool Write(const std::vector<AuditEntry>& entries, QString& error);

    QString m_path;
};

// $XDG_STATE_HOME/halvern-th/audit-queue.jsonl (~/.local/state when unset).
QString DefaultAuditQueuePath();
