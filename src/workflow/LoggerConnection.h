#pragma once

#include "record/LoggerRecord.h"
#include "workflow/LoggerWorkflow.h"

// One logger's state: the record shown, the range selected in it, and the
// workflow that drives the logger's link. The window holds one, the CLI one
// per logger; a file opened without a logger fills one whose workflow has
// nothing attached.
class LoggerConnection {
public:
    // display: the front end's settings, shared with the workflow.
    LoggerConnection(IWorkflowView& view, ITimerHost& timers, DisplaySettings& display);
    LoggerConnection(const LoggerConnection&) = delete;
    LoggerConnection& operator=(const LoggerConnection&) = delete;

    CLoggerRecord& Record();
    const CLoggerRecord& Record() const;
    CLoggerRecord& Range();
    const CLoggerRecord& Range() const;
    LoggerWorkflow& Workflow() { return m_workflow; }
    const LoggerWorkflow& Workflow() const { return m_workflow; }

private:
    LoggerWorkflow m_workflow;
};
