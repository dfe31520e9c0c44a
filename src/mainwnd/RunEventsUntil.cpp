#include "mainwnd/RunEventsUntil.h"

#include <QEventLoop>
#include <QTimer>

bool RunEventsUntil(const std::function<bool()>& done, int timeoutMs)
{
    constexpr int kWatchMs = 20;
    if (done())
        return true;
    QEventLoop loop;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    watch.start(kWatchMs);
    loop.exec();
    return done();
}
