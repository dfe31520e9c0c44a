#pragma once

#include "link/SettingsBlock.h"

#include <QString>
#include <optional>

// A mission as a user enters it (the configuration dialog's fields, the
// CLI's start options), checked against what the logger type takes and
// turned into the settings the block is built from.
struct MissionEntry {
    QString id;
    time64 start = 0;
    time64 now = 0;
    int intervalMinutes = 0;
    QString lowTemp, highTemp; // in the unit in force
    QString lowHumi, highHumi; // %RH; ignored for a type without humidity
    bool fahrenheit = false;
};

// The pair of limits a check found with its lower limit above the upper one.
enum class LimitQuantity { Temperature, Humidity };

struct MissionCheck {
    bool ok = false;
    MissionSettings settings;
    QString error; // what is wrong, for a message box or an error line
    std::optional<LimitQuantity> reversed; // set with the wrongOrder error
};

// Limits are read as numbers to the nearest hundredth; a text that is not a
// number or a value 16 bits cannot hold is refused naming its field; an
// empty field is 0. A lower limit above its upper one is refused with
// wrongOrder ("Invalid alarm limits!"). The interval must be at least a minute
// and, for a logger that takes it in one byte, at most 255 minutes.
MissionCheck CheckMissionEntry(int type, const MissionEntry& entry, const QString& wrongOrder);

// The longest description a logger takes, in characters.
constexpr int kMaxDescriptionChars = 24;
