#pragma once

#include "sim/usb/VirtualCh375.h"

#include <QString>
#include <memory>
#include <optional>

class VirtualSerialLogger;

// Which virtual logger the demo mode attaches.
struct DemoChoice {
    enum class Link { Usb, Serial };
    Link link = Link::Usb;
    int type = 4; // USB 1..4, serial 2..6; a temperature+humidity logger by default
};

// Reads "usb", "usb:TYPE", "serial" or "serial:TYPE"; on a bad text returns
// nothing and says why in error.
std::optional<DemoChoice> ParseDemoChoice(const QString& text, QString& error);

// A virtual logger holding a day-long mission of 10-minute samples, attached
// to the program through the same device libraries as hardware: a USB logger
// in a virtual CH375 library (selected for the whole process while this
// object lives), or a serial logger on a pseudo-terminal that registers as a
// CH341 port. It stays unplugged until PlugIn, which announces it as a
// hot-plug does. Create it before the main dialog starts and let it outlive
// the dialog.
class CDemoLogger {
public:
    explicit CDemoLogger(DemoChoice choice);
    ~CDemoLogger();
    CDemoLogger(const CDemoLogger&) = delete;
    CDemoLogger& operator=(const CDemoLogger&) = delete;

    // Plugs the logger in; false when its port cannot be created.
    bool PlugIn();
    // Pulls it out again, announced as a removal.
    void PullOut();
    // "virtual USB logger (demo)" or "virtual serial logger (demo)".
    QString Label() const;
    const DemoChoice& Choice() const { return m_choice; }
    CVirtualCh375& Usb() { return m_usb; }

private:
    DemoChoice m_choice;
    CVirtualCh375 m_usb;
    std::unique_ptr<VirtualSerialLogger> m_serial;
};
