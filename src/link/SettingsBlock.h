#pragma once

#include "record/LoggerRecord.h"

#include <QString>
#include <array>
#include <cstdint>

// The settings block that starts a logger's mission, laid out per logger
// type and link. Bytes 0..6 stay zero: the command that sends the block
// owns them (the USB frame signature, the serial frame's unused bytes).

// What the user chose, already checked: limits in hundredths that fit
// 16 bits, lower <= upper.
struct MissionSettings {
    QString id;               // the logger's ID; its first 11 characters go out
    time64 start = 0;         // the chosen start; one before `now` means now
    time64 now = 0;           // the PC's time, read once
    int intervalMinutes = 0;
    int highTemp = 0;         // hundredths of a degree C
    int lowTemp = 0;
    int humiHigh = 0;         // hundredths of %RH (0 without humidity)
    int humiLow = 0;
};

enum class SettingsLink { Usb, Serial };

struct SettingsBlock {
    static constexpr int kSize = 42;
    std::array<std::uint8_t, kSize> bytes {};
    int length = 0; // bytes to send; 0 when the type takes no settings on the link
};

// Serial blocks go out as a 35-byte payload (block bytes 0..34).
constexpr int kSerialSettingsPayload = 35;

// USB type 1: limits in sign-magnitude, high byte first.
SettingsBlock UsbSignMagnitudeBlock(const MissionSettings& s, int length);
// USB types 3, 4, 6: limits in two's complement, high byte first.
SettingsBlock UsbTwosComplementBlock(const MissionSettings& s, int length);
// Serial types 3, 4, 6: two's complement, low byte first; the start time
// takes the place of ID characters 5..11.
SettingsBlock SerialSettingsBlock(const MissionSettings& s);

// The block of a logger type on a link, its layout and length taken from
// the type table; length 0 when that type is not configured on that link.
SettingsBlock BuildSettingsBlock(int type, SettingsLink link, const MissionSettings& s);
