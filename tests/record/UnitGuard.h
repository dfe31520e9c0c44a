#pragma once

#include "record/Units.h"

// Sets the temperature unit for one test and restores degrees F afterwards.
class UnitGuard {
public:
    explicit UnitGuard(const QString& unit) { g_strTempUnit = unit; }
    ~UnitGuard() { g_strTempUnit = g_strUnitF; }
    UnitGuard(const UnitGuard&) = delete;
    UnitGuard& operator=(const UnitGuard&) = delete;
};
