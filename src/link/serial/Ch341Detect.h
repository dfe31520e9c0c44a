#pragma once

struct udev;
struct udev_device;

// CH341 identification from a udev device of the tty subsystem: its USB
// ancestor's vendor and product, or the driver bound on the way up.
bool IsCh341Device(udev_device* tty);
// The same for a tty by its kernel name (ttyUSB0), read from sysfs.
bool IsCh341Sysname(udev* context, const char* sysname);
