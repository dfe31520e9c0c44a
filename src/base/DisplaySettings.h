#pragma once

#include <cstdint>

constexpr std::uint16_t LANG_CHINESE = 2052;

enum class TempUnit : std::uint8_t { Celsius, Fahrenheit };

// How a front end shows values and texts: the temperature unit of the unit
// buttons or --unit, and the language (0 English, LANG_CHINESE). Each front
// end holds one and passes it to what formats text.
struct DisplaySettings {
    TempUnit unit = TempUnit::Fahrenheit;
    std::uint16_t language = 0;
};

// Degrees F in English: what a link writes its texts in until its owner
// gives it the owner's settings.
inline constexpr DisplaySettings kDefaultDisplay{};

// The settings a program starts with in language: degrees C for Chinese,
// degrees F otherwise.
constexpr DisplaySettings StartDisplay(std::uint16_t language)
{
    return {language == LANG_CHINESE ? TempUnit::Celsius : TempUnit::Fahrenheit, language};
}
