#pragma once

#include "archive/AuditRecorder.h"
#include "report/ui/ReportPrinting.h"

class CLoggerRecord;
class CMainDialog;
class LoggerWorkflow;
class QPrinter;

// The window's audit trail: its workflow's downloads, starts, stops and
// clock sets, and its saves and prints, recorded in the default archive. A
// failure to record is added to the status line; the entry waits in the
// queue until the archive can be written.
class CWindowAudit : public IAuditSink {
public:
    // Becomes workflow's audit sink until destroyed.
    CWindowAudit(CMainDialog& window, LoggerWorkflow& workflow);
    ~CWindowAudit() override;
    CWindowAudit(const CWindowAudit&) = delete;
    CWindowAudit& operator=(const CWindowAudit&) = delete;

    void Record(const AuditEvent& event) override { m_recorder.Record(event); }
    // Save wrote record to path as a file of kind (its extension).
    void Saved(const char* kind, const QString& path, const CLoggerRecord& record);
    // The print preview printed the pages of data on printer (or into its output file).
    void Printed(const QPrinter& printer, const ReportData& data, ReportKind kind);

private:
    CMainDialog& m_window;
    LoggerWorkflow& m_workflow;
    CAuditRecorder m_recorder;
};
