#include "record/Units.h"

#include "base/TextTable.h"

QString g_strUnitC = QStringLiteral("\u00B0C");
QString g_strUnitF = QStringLiteral("\u00B0F");
QString g_strUnitRH = QStringLiteral("%RH");
QString g_strTempUnit = g_strUnitF;

void InitUnits()
{
    g_strUnitRH = QString::fromLatin1("%RH");
    g_strUnitF = QStringLiteral("\u00B0F");
    g_strUnitC = QStringLiteral("\u00B0C");
    g_strTempUnit = g_nLanguage == LANG_CHINESE ? g_strUnitC : g_strUnitF;
}

bool IsFahrenheit()
{
    return g_strTempUnit == g_strUnitF;
}

bool IsCelsius()
{
    return g_strTempUnit == g_strUnitC;
}

double InUnit(float celsius)
{
    return IsFahrenheit() ? ToFahrenheit(celsius) : static_cast<double>(celsius);
}

QString FormatValue(double value, const QString& unit)
{
    return QString::asprintf("%4.2f", value) + unit;
}

void InitLanguageAndUnits(std::uint16_t language)
{
    InitLanguage(language);
    InitUnits();
}
