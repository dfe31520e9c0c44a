#include "link/serial/SerialPort.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

int OpenDevice(const QString& path)
{
    return ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
}

void ApplyLineSettings(int fd)
{
    termios tio {};
    if (::tcgetattr(fd, &tio) != 0)
        return;
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::tcsetattr(fd, TCSANOW, &tio);
}

} // namespace

CSerialPort::~CSerialPort()
{
    Close();
}

bool CSerialPort::Open(const QString& path)
{
    Close();
    const int fd = OpenDevice(path);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd, TIOCEXCL) != 0) {
        ::close(fd);
        return false;
    }
    ApplyLineSettings(fd);
    ::tcflush(fd, TCIOFLUSH);
    m_hPort = fd;
    return true;
}

void CSerialPort::Close()
{
    if (m_hPort < 0)
        return;
    // A pseudo-terminal keeps the exclusive flag after the last close, which
    // would lock out every later open by a user other than root.
    ::ioctl(m_hPort, TIOCNXCL);
    ::close(m_hPort);
    m_hPort = -1;
}

void CSerialPort::PurgeInput() const
{
    if (m_hPort >= 0)
        ::tcflush(m_hPort, TCIFLUSH);
}

bool CSerialPort::Holds(const QString& path) const
{
    if (m_hPort < 0)
        return false;
    struct stat node {};
    struct stat held {};
    if (::stat(path.toLocal8Bit().constData(), &node) != 0 || ::fstat(m_hPort, &held) != 0)
        return false;
    if (!S_ISCHR(node.st_mode) || node.st_rdev != held.st_rdev)
        return false;
    pollfd pfd {m_hPort, 0, 0};
    return ::poll(&pfd, 1, 0) >= 0 && !(pfd.revents & (POLLHUP | POLLERR | POLLNVAL));
}

bool CSerialPort::Probe(const QString& path)
{
    const int fd = OpenDevice(path);
    if (fd < 0)
        return false;
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
}
