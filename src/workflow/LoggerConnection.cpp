#include "workflow/LoggerConnection.h"

LoggerConnection::LoggerConnection(IWorkflowView& view, ITimerHost& timers, DisplaySettings& display)
    : m_workflow(view, timers, m_record, m_usb, m_serial, display)
{
}
