#pragma once

#include "link/serial/SerialDriver.h"
#include "link/usb/UsbDriver.h"
#include "record/LoggerRecord.h"
#include "workflow/LoggerWorkflow.h"

// One logger's state: the record shown, the range selected in it, the two
// drivers a logger may be attached through and the workflow that drives
// them. The window holds one, the CLI one per logger; a file opened without
// a logger fills one whose workflow has nothing attached.
class LoggerConnection {
public:
    // display: the front end's settings, shared with the workflow.
    LoggerConnection(IWorkflowView& view, ITimerHost& timers, DisplaySettings& display);
    LoggerConnection(const LoggerConnection&) = delete;
    LoggerConnection& operator=(const LoggerConnection&) = delete;

    CLoggerRecord& Record() { return m_record; }
    const CLoggerRecord& Record() const { return m_record; }
    CLoggerRecord& Range() { return m_range; }
    const CLoggerRecord& Range() const { return m_range; }
    UsbDriver& Usb() { return m_usb; }
    SerialDriver& Serial() { return m_serial; }
    LoggerWorkflow& Workflow() { return m_workflow; }
    const LoggerWorkflow& Workflow() const { return m_workflow; }

private:
    CLoggerRecord m_record;
    CLoggerRecord m_range;
    UsbDriver m_usb{m_record};
    SerialDriver m_serial{m_record};
    LoggerWorkflow m_workflow;
};
