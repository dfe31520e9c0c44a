#pragma once

#include <cstdint>
#include <functional>

// The operations of the CH375 device library that the USB link, the start-up
// scan and the hot-plug routine use. A device is named by its index 0..15.
// Results: true / non-zero / a handle other than -1 mean success.
//
// Two implementations exist: the real one over libusb (LibusbCh375) and the
// virtual USB logger of the demo mode and the tests (CVirtualCh375).
class Ch375Library {
public:
    static constexpr std::intptr_t kInvalidHandle = -1;
    static constexpr int kMaxDevices = 16;
    // Event codes handed to the notification routine.
    static constexpr unsigned long kDeviceArrived = 3;
    static constexpr unsigned long kDeviceRemoved = 0;

    // Called on a thread of the library with one event code. It must only
    // copy the code and post a message: it never touches the records.
    using NotifyRoutine = std::function<void(unsigned long eventCode)>;

    virtual ~Ch375Library() = default;

    virtual std::intptr_t CH375OpenDevice(unsigned long index) = 0;
    virtual void CH375CloseDevice(unsigned long index) = 0;
    virtual bool CH375ResetDevice(unsigned long index) = 0;
    virtual unsigned long CH375GetDrvVersion() = 0;
    virtual unsigned long CH375GetUsbID(unsigned long index) = 0;
    virtual bool CH375SetTimeoutEx(unsigned long index, unsigned long writeMs, unsigned long readMs,
                                   unsigned long auxWriteMs, unsigned long auxReadMs) = 0;
    // length: in, bytes to send; out, bytes sent.
    virtual bool CH375WriteData(unsigned long index, const void* buffer, unsigned long* length) = 0;
    // length: in, bytes wanted; out, bytes received (never more than wanted).
    virtual bool CH375ReadData(unsigned long index, void* buffer, unsigned long* length) = 0;
    // Registers routine for arrivals and removals of CH375 devices; an empty
    // routine unregisters. deviceName is accepted for the calling convention
    // and may be null. Returns false when notifications are unavailable.
    virtual bool CH375SetDeviceNotify(unsigned long index, const char* deviceName, NotifyRoutine routine) = 0;
    // Whether a device is at index now, opened or not: a removal notification
    // names no device, so whoever holds several asks each of them.
    virtual bool CH375DevicePresent(unsigned long index) = 0;
};

// The library in use by the whole process: the libusb one unless a virtual
// one has been selected. Selecting nullptr goes back to the libusb one. The
// selected object must outlive its selection.
Ch375Library& GetCh375Library();
void SetCh375Library(Ch375Library* library);
