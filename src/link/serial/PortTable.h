#pragma once

#include <QString>
#include <mutex>

// Maps the serial port numbers the protocol speaks of (1 .. 256) to device
// paths: port n is /dev/ttyUSB(n-1) unless a path has been registered under
// n, as a virtual logger does with its pseudo-terminal.
class PortTable {
public:
    static constexpr int kMaxPorts = 256;

    static PortTable& Instance();

    // Device path of a port number; empty outside 1 .. kMaxPorts.
    QString PathOf(int port) const;
    // Port number of a device path (registered or /dev/ttyUSBn); 0 when none.
    int PortOf(const QString& path) const;

    // Registers path under the lowest number whose default device does not
    // exist and that has no registration yet; returns it, or 0 when all are
    // taken. bCh341 marks a port that stands in for a CH341 converter.
    int Register(const QString& path, bool bCh341);
    void Unregister(int port);
    // The port was registered as a stand-in CH341 converter.
    bool IsVirtualCh341(int port) const;

private:
    PortTable() = default;
    static QString DefaultPath(int port);

    struct Entry {
        QString path;
        bool bCh341 = false;
    };
    mutable std::mutex m_mutex;
    Entry m_registered[kMaxPorts];
};
