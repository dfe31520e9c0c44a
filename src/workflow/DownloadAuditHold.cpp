#include "workflow/DownloadAuditHold.h"

void CDownloadAuditHold::Record(const AuditEvent& event)
{
    if (event.action == QLatin1String("download"))
        m_waiting.push_back(event);
    else if (m_next)
        m_next->Record(event);
}

void CDownloadAuditHold::Release(const QJsonObject& written)
{
    std::vector<AuditEvent> waiting;
    waiting.swap(m_waiting);
    for (AuditEvent& event : waiting) {
        for (auto it = written.begin(); it != written.end(); ++it)
            event.detail.insert(it.key(), it.value());
        if (m_next)
            m_next->Record(event);
    }
}
