#pragma once

#include <cstdint>

// The two checksums of serial reply frames, over the frame bytes before the
// checksum, in 32-bit arithmetic; the frame carries the low 16 bits.
inline std::uint32_t SerialChecksumA(const std::uint8_t* bytes, int count)
{
    std::uint32_t s = 0;
    for (int i = 0; i < count; ++i)
        s = (s ^ bytes[i]) + bytes[i];
    return s;
}

inline std::uint32_t SerialChecksumB(const std::uint8_t* bytes, int count)
{
    std::uint32_t s = 0;
    for (int i = 0; i < count; ++i)
        s += bytes[i];
    return s;
}
