#pragma once

#include "sim/SimulateSpec.h"
#include "sim/usb/VirtualCh375.h"

#include <QString>
#include <memory>
#include <vector>

class VirtualSerialLogger;

// The window's demo loggers: virtual loggers of the links and types chosen
// (their other knobs are not used), each holding a day-long mission of
// 10-minute samples and answering with an ID of its own, attached to the
// program through the same device libraries as hardware. The USB ones share
// one virtual CH375 library (selected for the whole process while this
// object lives), the first at index 0, the next at 1, ...; each serial one
// has a pseudo-terminal that registers as a CH341 port. They stay unplugged
// until PlugIn, which announces them as hot-plugs do. Create this before
// the main dialog starts and let it outlive the dialog.
class CDemoLogger {
public:
    explicit CDemoLogger(SimulateSpec choice);
    explicit CDemoLogger(std::vector<SimulateSpec> choices);
    ~CDemoLogger();
    CDemoLogger(const CDemoLogger&) = delete;
    CDemoLogger& operator=(const CDemoLogger&) = delete;

    // Plugs every logger in; false when a serial port cannot be created.
    bool PlugIn();
    // Pulls every one out again, announced as removals.
    void PullOut();
    // "virtual USB logger (demo)", "virtual serial logger (demo)" or
    // "4 virtual loggers (demo)".
    QString Label() const;
    int Count() const { return static_cast<int>(m_choices.size()); }
    // The ID logger i answers with (in the order chosen).
    QString Id(int i) const;
    CVirtualCh375& Usb() { return m_usb; }

private:
    bool AnyUsb() const;
    bool PlugInSerial(std::size_t i);

    std::vector<SimulateSpec> m_choices;
    std::vector<int> m_usbIndex; // per logger: its CH375 index, -1 for a serial one
    CVirtualCh375 m_usb;
    std::vector<std::unique_ptr<VirtualSerialLogger>> m_serial; // per logger, null for a USB one
};
