#pragma once

#include "link/usb/Ch375Library.h"

// A CH375 library that shows only one device index of another library, so
// `--usb INDEX` talks to that logger even when others are plugged in.
class SingleDeviceCh375 : public Ch375Library {
public:
    SingleDeviceCh375(Ch375Library& inner, int index) : m_inner(inner), m_index(index) {}

    std::intptr_t CH375OpenDevice(unsigned long index) override;
    void CH375CloseDevice(unsigned long index) override;
    bool CH375ResetDevice(unsigned long index) override;
    unsigned long CH375GetDrvVersion() override { return m_inner.CH375GetDrvVersion(); }
    unsigned long CH375GetUsbID(unsigned long index) override;
    bool CH375SetTimeoutEx(unsigned long index, unsigned long writeMs, unsigned long readMs,
                           unsigned long auxWriteMs, unsigned long auxReadMs) override;
    bool CH375WriteData(unsigned long index, const void* buffer, unsigned long* length) override;
    bool CH375ReadData(unsigned long index, void* buffer, unsigned long* length) override;
    bool CH375SetDeviceNotify(unsigned long index, const char* deviceName, NotifyRoutine routine) override;
    bool CH375DevicePresent(unsigned long index) override;

private:
    bool Mine(unsigned long index) const { return index == static_cast<unsigned long>(m_index); }

    Ch375Library& m_inner;
    int m_index;
};
