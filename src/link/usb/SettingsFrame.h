#pragma once

#include "record/LoggerRecord.h"

#include <QString>
#include <array>
#include <cstdint>

// Frames that change a USB logger: the mission settings (which also start
// the mission and set the clock), the clock set on its own, and the bytes of
// a description. They are sent with CUsbLink::WriteSettings / WriteDescription.

struct UsbSettings {
    QString id;                 // the logger's 11-character ID
    time64 start = 0;           // chosen start; an earlier one than now becomes now
    time64 now = 0;             // the PC's current time, read once by the caller
    int intervalMinutes = 0;    // hours x 60 + minutes
    double highTemp = 0.0;      // as entered, in the unit in force
    double lowTemp = 0.0;
    bool fahrenheit = false;    // the entered temperatures are degrees F
    double humiHigh = 0.0;      // %RH as entered (type 4)
    double humiLow = 0.0;
};

struct UsbFrame {
    std::array<std::uint8_t, 64> bytes{};
    int length = 0;
};

enum class SettingsFrameResult {
    Ok,
    NoSettings,  // the type has no settings frame
    LimitsWrong, // an upper limit below its lower limit: nothing to send
};

// Types 1 (40 bytes, signed-magnitude limits), 3 and 6 (40 bytes) and 4 (42 bytes).
SettingsFrameResult BuildSettingsFrame(int type, const UsbSettings& settings, UsbFrame& frame);

// The clock-set rate code of an ID ("25" -> 5, "50" -> 10, "99" -> 20 in its
// second and third characters); 0 when the ID has none.
int ClockRateCode(const QString& id);
// The 26-byte clock-set frame; false (and no frame) when the ID has no rate code.
bool BuildClockFrame(const QString& id, time64 now, UsbFrame& frame);

// The 50 description bytes for WriteDescription: the first 48 characters of
// text in the OEM code page, cut at a whole character, zero-padded. Returns
// the number of characters written, which the read-back compares.
int DescriptionBytes(const QString& text, std::uint8_t (&out)[50]);
