#pragma once

#include "archive/AuditRecorder.h"

// The audit trail of a command, in the archive address names (empty: the
// default archive). A failure to record is one line on stderr; the entry
// waits in the queue and the command's exit code stays as it is.
class CCliAudit : public IAuditSink {
public:
    explicit CCliAudit(const char* command, const QString& address = {});
    void Record(const AuditEvent& event) override { m_recorder.Record(event); }

private:
    CAuditRecorder m_recorder;
};
