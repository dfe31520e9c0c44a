#pragma once

#include "record/LoggerRecord.h"

#include <QString>
#include <array>
#include <cstdint>

// Frames that change a USB logger: the clock set on its own and the bytes
// of a description. They are sent with UsbDriver::WriteSettings /
// WriteDescription; the mission settings go out as a SettingsBlock.

struct UsbFrame {
    std::array<std::uint8_t, 64> bytes{};
    int length = 0;
};

// The clock-set rate code of an ID ("25" -> 5, "50" -> 10, "99" -> 20 in its
// second and third characters); 0 when the ID has none.
int ClockRateCode(const QString& id);
// The 26-byte clock-set frame; false (and no frame) when the ID has no rate code.
bool BuildClockFrame(const QString& id, time64 now, UsbFrame& frame);

// The 50 description bytes for WriteDescription: the first 48 characters of
// text in the OEM code page, cut at a whole character, zero-padded. Returns
// the number of characters written, which the read-back compares.
int DescriptionBytes(const QString& text, std::uint8_t (&out)[50]);
