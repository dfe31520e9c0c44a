#pragma once

#include <functional>

// Recognises CH341 USB-to-serial ports and reports their arrival and removal.
// Real ports come from sysfs and udev; a virtual logger registers its
// pseudo-terminal as a CH341 port (PortTable) and announces it itself.

// Called on the monitor thread (or the announcing thread) with the port
// number of an arrived CH341 port, or its negative when it was removed. It
// should only post.
using Ch341NotifyRoutine = std::function<void(int)>;

// Registers the routine and starts the udev monitor thread; a null routine
// unregisters and stops it. deviceName is unused (null). Returns false when
// udev cannot be monitored here; virtual ports are announced all the same.
bool CH341PtSetDevNotify(const char* deviceName, Ch341NotifyRoutine routine);

// Whether the port named by portName belongs to a CH341 converter (USB vendor
// 1a86, product 7523 or 5523, or bound to the ch341 driver). portName is
// "\\.\COM<n>", "COM<n>" or a device path.
bool CH341PtNameIsCH341(const char* portName);
bool Ch341IsCh341Port(int port);

// A virtual converter arrived (port number) or was removed (its negative).
void Ch341AnnounceVirtual(int value);
