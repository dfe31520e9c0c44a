#pragma once

#include <cstdint>

// Link state that both the USB part and the serial part of the link object
// read and write (the serial parser marks the link open as well).
struct CLinkCommon {
    std::uint8_t m_bUsbOpen = 0;
    std::int32_t m_nDeviceIndex = 0;
};
