#pragma once

#include "link/serial/PortTable.h"

#include <QString>
#include <cstdint>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

// The master side of a pseudo-terminal whose slave is registered as a port.
class PtyEnd {
public:
    PtyEnd()
    {
        m_fd = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        char name[128] = {};
        if (m_fd < 0 || ::grantpt(m_fd) != 0 || ::unlockpt(m_fd) != 0 || ::ptsname_r(m_fd, name, sizeof name) != 0)
            return;
        termios tio {};
        ::tcgetattr(m_fd, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(m_fd, TCSANOW, &tio);
        m_path = QString::fromLocal8Bit(name);
        m_port = PortTable::Instance().Register(m_path, false);
    }
    ~PtyEnd()
    {
        Close();
        PortTable::Instance().Unregister(m_port);
    }
    PtyEnd(const PtyEnd&) = delete;
    PtyEnd& operator=(const PtyEnd&) = delete;

    int Port() const { return m_port; }
    QString Path() const { return m_path; }
    int Fd() const { return m_fd; }
    void Close()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }
    bool Write(const std::vector<std::uint8_t>& bytes) const
    {
        return ::write(m_fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }
    // Reads until `count` bytes arrived or nothing came for timeoutMs.
    std::vector<std::uint8_t> Read(size_t count, int timeoutMs = 2000) const
    {
        std::vector<std::uint8_t> got;
        while (got.size() < count) {
            pollfd pfd {m_fd, POLLIN, 0};
            if (::poll(&pfd, 1, timeoutMs) <= 0)
                break;
            std::uint8_t buf[4096];
            const ssize_t n = ::read(m_fd, buf, sizeof buf);
            if (n <= 0)
                break;
            got.insert(got.end(), buf, buf + n);
        }
        return got;
    }

private:
    int m_fd = -1;
    int m_port = 0;
    QString m_path;
};
