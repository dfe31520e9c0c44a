#include "cli/SingleDeviceCh375.h"

std::intptr_t SingleDeviceCh375::CH375OpenDevice(unsigned long index)
{
    return Mine(index) ? m_inner.CH375OpenDevice(index) : kInvalidHandle;
}

void SingleDeviceCh375::CH375CloseDevice(unsigned long index)
{
    if (Mine(index))
        m_inner.CH375CloseDevice(index);
}

bool SingleDeviceCh375::CH375ResetDevice(unsigned long index)
{
    return Mine(index) && m_inner.CH375ResetDevice(index);
}

unsigned long SingleDeviceCh375::CH375GetUsbID(unsigned long index)
{
    return Mine(index) ? m_inner.CH375GetUsbID(index) : 0;
}

bool SingleDeviceCh375::CH375SetTimeoutEx(unsigned long index, unsigned long writeMs, unsigned long readMs,
                                          unsigned long auxWriteMs, unsigned long auxReadMs)
{
    return Mine(index) && m_inner.CH375SetTimeoutEx(index, writeMs, readMs, auxWriteMs, auxReadMs);
}

bool SingleDeviceCh375::CH375WriteData(unsigned long index, const void* buffer, unsigned long* length)
{
    return Mine(index) && m_inner.CH375WriteData(index, buffer, length);
}

bool SingleDeviceCh375::CH375ReadData(unsigned long index, void* buffer, unsigned long* length)
{
    return Mine(index) && m_inner.CH375ReadData(index, buffer, length);
}

bool SingleDeviceCh375::CH375SetDeviceNotify(unsigned long index, const char* deviceName, NotifyRoutine routine)
{
    // Notifications cover every device: a removal is told whichever index it had.
    return m_inner.CH375SetDeviceNotify(index, deviceName, std::move(routine));
}

bool SingleDeviceCh375::CH375DevicePresent(unsigned long index)
{
    return Mine(index) && m_inner.CH375DevicePresent(index);
}
