#pragma once

#include <QString>
#include <cstdint>

// Unit texts, built once at start-up by InitUnits(); g_strTempUnit is the
// temperature unit in force and changes with the unit radios.
extern QString g_strUnitC;
extern QString g_strUnitF;
extern QString g_strUnitRH;
extern QString g_strTempUnit;

// Builds the three unit strings and picks the start unit from g_nLanguage.
void InitUnits();
// Start-up: the language, then the unit texts that depend on it.
void InitLanguageAndUnits(std::uint16_t language = 0);

bool IsFahrenheit();
bool IsCelsius();

inline double ToFahrenheit(float celsius) { return static_cast<double>(celsius) * 1.8 + 32.0; }

// A stored Celsius value in the unit in force (unchanged for an unknown unit).
double InUnit(float celsius);

// "%4.2f" of value followed by unit.
QString FormatValue(double value, const QString& unit);
