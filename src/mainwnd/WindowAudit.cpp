#include "mainwnd/WindowAudit.h"

#include "mainwnd/MainDialog.h"
#include "record/LoggerRecord.h"

#include <QPrinter>

CWindowAudit::CWindowAudit(CMainDialog& window, LoggerWorkflow& workflow) : m_window(window), m_workflow(workflow)
{
    m_workflow.SetAuditSink(this);
    m_recorder.OnFailure([this](const QString& why) {
        m_window.SetStatusText(m_window.StatusText().trimmed() + QStringLiteral(" \u2014 ") + why);
    });
}

CWindowAudit::~CWindowAudit()
{
    m_workflow.SetAuditSink(nullptr);
}

void CWindowAudit::Saved(const char* kind, const QString& path, const CLoggerRecord& record)
{
    QJsonObject detail = WrittenFile(path);
    detail.insert("kind", QLatin1String(kind));
    Record({QStringLiteral("save"), record.m_strValue[ROW_ID].trimmed(), detail});
}

void CWindowAudit::Printed(const QPrinter& printer, const ReportData& data, ReportKind kind)
{
    QJsonObject detail = printer.outputFileName().isEmpty() ? QJsonObject{{"printer", printer.printerName()}}
                                                            : WrittenFile(printer.outputFileName());
    detail.insert("kind", kind == ReportKind::Text ? "text" : "curve");
    detail.insert("pages", data.totalPages);
    Record({QStringLiteral("print"), data.record->m_strValue[ROW_ID].trimmed(), detail});
}
