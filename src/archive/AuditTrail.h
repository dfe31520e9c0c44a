#pragma once

#include "record/LoggerRecord.h"

#include <QString>
#include <optional>

// One entry of the audit trail. Each entry carries the hash of the one
// before it, so an entry edited, removed or slipped in afterwards breaks
// the chain at that place.
struct AuditEntry {
    qint64 seq = 0; // 1, 2, 3, ... in the order appended
    QString time;   // UTC, ISO 8601 with Z, whole seconds
    QString user;   // the operating-system user
    QString host;
    QString action;
    QString logger; // empty when the action concerns no logger
    QString detail; // a JSON object, compact, keys sorted
    QString prev;   // the previous entry's hash; kAuditFirstPrev for the first
    QString hash;   // AuditEntryHash of the fields above
};

// The prev of the first entry: 64 zeros.
extern const QString kAuditFirstPrev;

// SHA-256, lowercase hex, of the UTF-8 bytes of prev, seq, time, user, host,
// action, logger and detail joined by "\n".
QString AuditEntryHash(const AuditEntry& entry);

// Which entries a listing shows: those of one logger ID, those recorded in
// a time range; both or none.
struct AuditFilter {
    QString loggerId;
    std::optional<time64> from; // at or after
    std::optional<time64> to;   // at or before
};

// What checking the chain found: intact, or the first entry that fails and how.
struct AuditVerdict {
    qint64 entries = 0; // the entries read
    bool intact = true;
    qint64 seq = 0;  // the first entry that fails
    QString problem; // e.g. "entry 57: its hash does not match its contents"
};
