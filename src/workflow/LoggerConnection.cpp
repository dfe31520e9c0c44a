#include "workflow/LoggerConnection.h"

LoggerConnection::LoggerConnection(IWorkflowView& view, ITimerHost& timers, DisplaySettings& display)
    : m_workflow(view, timers, display)
{
}

CLoggerRecord& LoggerConnection::Record()
{
    return g_LoggerRecord;
}

const CLoggerRecord& LoggerConnection::Record() const
{
    return g_LoggerRecord;
}

CLoggerRecord& LoggerConnection::Range()
{
    return g_AreaRecord;
}

const CLoggerRecord& LoggerConnection::Range() const
{
    return g_AreaRecord;
}
