#include "link/serial/PortTable.h"

#include <sys/stat.h>

PortTable& PortTable::Instance()
{
    static PortTable table;
    return table;
}

namespace {
const QString kDefaultPrefix = QStringLiteral("/dev/ttyUSB");
}

QString PortTable::DefaultPath(int port)
{
    return kDefaultPrefix + QString::number(port - 1);
}

QString PortTable::PathOf(int port) const
{
    if (port < 1 || port > kMaxPorts)
        return {};
    std::lock_guard lock(m_mutex);
    const Entry& entry = m_registered[port - 1];
    return entry.path.isEmpty() ? DefaultPath(port) : entry.path;
}

int PortTable::PortOf(const QString& path) const
{
    if (path.isEmpty())
        return 0;
    std::lock_guard lock(m_mutex);
    for (int i = 0; i < kMaxPorts; ++i)
        if (m_registered[i].path == path)
            return i + 1;
    if (!path.startsWith(kDefaultPrefix))
        return 0;
    bool ok = false;
    const int index = path.mid(kDefaultPrefix.size()).toInt(&ok);
    if (!ok || index < 0 || index >= kMaxPorts || !m_registered[index].path.isEmpty())
        return 0;
    return index + 1;
}

int PortTable::Register(const QString& path, bool bCh341)
{
    std::lock_guard lock(m_mutex);
    for (int i = 0; i < kMaxPorts; ++i) {
        struct stat st {};
        if (!m_registered[i].path.isEmpty() || ::stat(DefaultPath(i + 1).toLocal8Bit().constData(), &st) == 0)
            continue;
        m_registered[i] = Entry{path, bCh341};
        return i + 1;
    }
    return 0;
}

void PortTable::Unregister(int port)
{
    if (port < 1 || port > kMaxPorts)
        return;
    std::lock_guard lock(m_mutex);
    m_registered[port - 1] = Entry{};
}

bool PortTable::IsVirtualCh341(int port) const
{
    if (port < 1 || port > kMaxPorts)
        return false;
    std::lock_guard lock(m_mutex);
    return !m_registered[port - 1].path.isEmpty() && m_registered[port - 1].bCh341;
}
