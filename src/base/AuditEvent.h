#pragma once

#include <QJsonObject>
#include <QString>

// One action to enter in the audit trail, as the code that did it tells it:
// what was done ("download", "start", "save", ...), to which logger (empty
// when none) and the particulars. Who, where and when are added when it is
// recorded.
struct AuditEvent {
    QString action;
    QString logger;
    QJsonObject detail;
};

// Where the actions of a connection or a front end are recorded. Recording
// never refuses the action: a failure to record is the sink's to show.
class IAuditSink {
public:
    virtual ~IAuditSink() = default;
    virtual void Record(const AuditEvent& event) = 0;
};

// An instant as the trail writes it: UTC, ISO 8601, whole seconds, with Z.
QString AuditTime(qint64 secondsSinceEpoch);
// The SHA-256 of a regular file's bytes as lowercase hex; empty when path
// is no regular file or cannot be read.
QString FileSha256(const QString& path);
// What a written file adds to an entry's detail: {"file": its absolute
// path, "sha256": its fingerprint}, the fingerprint left out when the file
// cannot be read back (standard output, a pipe).
QJsonObject WrittenFile(const QString& path);
