#include "record/Units.h"

const QString& UnitText(TempUnit unit)
{
    return unit == TempUnit::Celsius ? kUnitC : kUnitF;
}

double InUnit(float celsius, TempUnit unit)
{
    return unit == TempUnit::Fahrenheit ? ToFahrenheit(celsius) : static_cast<double>(celsius);
}

QString FormatValue(double value, const QString& unit)
{
    return QString::asprintf("%4.2f", value) + unit;
}
