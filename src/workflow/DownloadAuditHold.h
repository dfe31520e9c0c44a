#pragma once

#include "base/AuditEvent.h"

#include <vector>

// For a front end that writes a file after each download: passes every
// entry on, except downloads, which wait until the front end tells which
// file they were written to, so that their entry names it and its
// fingerprint. Whatever still waits is passed on when the hold ends.
class CDownloadAuditHold : public IAuditSink {
public:
    // next: where entries go (null: nowhere).
    explicit CDownloadAuditHold(IAuditSink* next) : m_next(next) {}
    ~CDownloadAuditHold() override { Release({}); }
    CDownloadAuditHold(const CDownloadAuditHold&) = delete;
    CDownloadAuditHold& operator=(const CDownloadAuditHold&) = delete;

    void Record(const AuditEvent& event) override;
    // Passes the waiting downloads on with written's members added to their
    // detail (nothing added when no file was written).
    void Release(const QJsonObject& written);

private:
    IAuditSink* m_next;
    std::vector<AuditEvent> m_waiting;
};
