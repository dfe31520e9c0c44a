#include "link/serial/Ch341Library.h"

#include "link/serial/Ch341Detect.h"
#include "link/serial/Ch341Monitor.h"
#include "link/serial/PortTable.h"

#include <QFileInfo>
#include <QString>
#include <libudev.h>
#include <mutex>

namespace {

std::mutex g_routineMutex;
Ch341NotifyRoutine g_routine;

std::mutex g_monitorMutex;
Ch341Monitor& Monitor()
{
    static Ch341Monitor monitor;
    return monitor;
}

void Notify(int value)
{
    Ch341NotifyRoutine routine;
    {
        std::lock_guard lock(g_routineMutex);
        routine = g_routine;
    }
    if (routine)
        routine(value);
}

// Port number of "\\.\COM<n>" or "COM<n>", or of a device path.
int PortOfName(const QString& name)
{
    const int com = name.lastIndexOf(QLatin1String("COM"));
    if (com >= 0 && (com == 0 || name.startsWith(QLatin1String("\\\\.\\")))) {
        bool ok = false;
        const int port = name.mid(com + 3).toInt(&ok);
        return ok ? port : 0;
    }
    return PortTable::Instance().PortOf(name);
}

} // namespace

bool CH341PtSetDevNotify(const char*, Ch341NotifyRoutine routine)
{
    const bool stop = !routine;
    {
        std::lock_guard lock(g_routineMutex);
        g_routine = std::move(routine);
    }
    std::lock_guard lock(g_monitorMutex);
    if (stop) {
        Monitor().Stop();
        return true;
    }
    return Monitor().Running() || Monitor().Start(Notify);
}

bool Ch341IsCh341Port(int port)
{
    if (PortTable::Instance().IsVirtualCh341(port))
        return true;
    const QString path = PortTable::Instance().PathOf(port);
    if (path.isEmpty())
        return false;
    udev* context = udev_new();
    const bool result = IsCh341Sysname(context, QFileInfo(path).fileName().toLocal8Bit().constData());
    if (context)
        udev_unref(context);
    return result;
}

bool CH341PtNameIsCH341(const char* portName)
{
    if (!portName)
        return false;
    const int port = PortOfName(QString::fromLocal8Bit(portName));
    return port > 0 && Ch341IsCh341Port(port);
}

void Ch341AnnounceVirtual(int value)
{
    Notify(value);
}
