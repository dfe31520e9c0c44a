#include "cli/PortProbe.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

QString PortOpenRefusal(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return {};
    }
    switch (errno) {
    case EBUSY: return QStringLiteral("in use by another program");
    case EACCES: return QStringLiteral("permission denied");
    default: return QString::fromLocal8Bit(std::strerror(errno)).toLower();
    }
}
