#pragma once

#include "link/serial/SerialLink.h"
#include "link/usb/UsbLink.h"

// The one link object: the USB part and the serial part over shared state.
class CLoggerLink : public CUsbLink, public CSerialLink {
};

extern CLoggerLink g_LoggerLink;
