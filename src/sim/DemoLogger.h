#pragma once

#include "sim/SimulateSpec.h"
#include "sim/usb/VirtualCh375.h"

#include <QString>
#include <memory>

class VirtualSerialLogger;

// The window's demo logger: a virtual logger of the link and type chosen
// (its other knobs are not used) holding a day-long mission of 10-minute
// samples, attached to the program through the same device libraries as
// hardware: a USB logger in a virtual CH375 library (selected for the whole
// process while this object lives), or a serial logger on a pseudo-terminal
// that registers as a CH341 port. It stays unplugged until PlugIn, which
// announces it as a hot-plug does. Create it before the main dialog starts
// and let it outlive the dialog.
class CDemoLogger {
public:
    explicit CDemoLogger(SimulateSpec choice);
    ~CDemoLogger();
    CDemoLogger(const CDemoLogger&) = delete;
    CDemoLogger& operator=(const CDemoLogger&) = delete;

    // Plugs the logger in; false when its port cannot be created.
    bool PlugIn();
    // Pulls it out again, announced as a removal.
    void PullOut();
    // "virtual USB logger (demo)" or "virtual serial logger (demo)".
    QString Label() const;
    const SimulateSpec& Choice() const { return m_choice; }
    CVirtualCh375& Usb() { return m_usb; }

private:
    SimulateSpec m_choice;
    CVirtualCh375 m_usb;
    std::unique_ptr<VirtualSerialLogger> m_serial;
};
