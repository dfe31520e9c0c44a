// The workflow's window timers as QTimers of the main dialog. Each ticks
// periodically, as a window timer does, until the workflow kills it; the
// workflow re-arms or kills its one-shot timers in their own ticks.
#include "mainwnd/MainDialog.h"

#include <QTimer>

void CMainDialog::CreateTimers()
{
    for (const int id : {TIMER_USB_DOWNLOAD, TIMER_USB_STATUS, TIMER_SERIAL_RETRY, TIMER_SERIAL_DOWNLOAD,
                         TIMER_SERIAL_STATUS}) {
        auto* timer = new QTimer(this);
        timer->setTimerType(Qt::PreciseTimer);
        connect(timer, &QTimer::timeout, this, [this, id] { m_workflow.OnTimer(id); });
        m_timers[id] = timer;
    }
}

QTimer* CMainDialog::Timer(int id) const
{
    const auto it = m_timers.find(id);
    return it == m_timers.end() ? nullptr : it->second;
}

void CMainDialog::SetTimer(int id, int milliseconds)
{
    if (QTimer* timer = Timer(id))
        timer->start(milliseconds);
}

void CMainDialog::KillTimer(int id)
{
    if (QTimer* timer = Timer(id))
        timer->stop();
}
