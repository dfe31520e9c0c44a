#pragma once

#include "base/DisplaySettings.h"

#include <QString>

// The unit texts.
inline const QString kUnitC = QStringLiteral("\u00B0C");
inline const QString kUnitF = QStringLiteral("\u00B0F");
inline const QString kUnitRH = QStringLiteral("%RH");

// The text of a temperature unit.
const QString& UnitText(TempUnit unit);

inline double ToFahrenheit(float celsius) { return static_cast<double>(celsius) * 1.8 + 32.0; }

// A stored Celsius value in unit.
double InUnit(float celsius, TempUnit unit);

// "%4.2f" of value followed by unit.
QString FormatValue(double value, const QString& unit);
