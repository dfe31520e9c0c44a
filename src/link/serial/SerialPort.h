#pragma once

#include <QString>

// One open serial device with the logger's fixed line settings: 9600 baud,
// 8 data bits, no parity, 1 stop bit, raw, no flow control. The descriptor
// is non-blocking and held exclusively (TIOCEXCL and an flock lock, so that
// another open of the same device, from this process or another, fails).
class CSerialPort {
public:
    CSerialPort() = default;
    virtual ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    bool Open(const QString& path);
    void Close();
    bool IsValid() const { return m_hPort >= 0; }
    // Discards received bytes the driver still holds.
    void PurgeInput() const;
    // The descriptor refers to the device node at path and has not been hung up.
    bool Holds(const QString& path) const;

    // Whether path can be opened exclusively right now (exists and is free).
    static bool Probe(const QString& path);

    int m_hPort = -1;
};
