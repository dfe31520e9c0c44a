#pragma once

// Puts the shared record and link back to "no logger": tests that run the
// workflow one after another must not inherit a connection, a pending reply
// or half a frame from the test before.
#include "link/LoggerLink.h"
#include "record/LoggerRecord.h"

inline void ResetRecordAndLink()
{
    g_LoggerRecord.Reset();
    g_LoggerLink.m_bUsbOpen = 0;
    g_LoggerLink.m_nDeviceIndex = 0;
    g_LoggerLink.m_nReply = 0;
    g_LoggerLink.m_nSerialMode = 0;
    g_LoggerLink.m_nRxLen = 0;
    g_LoggerLink.m_nComPort = 0;
}
