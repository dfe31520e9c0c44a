#pragma once

#include "base/TextId.h"

#include <QString>
#include <cstdint>

constexpr int TEXT_COUNT = 171;   // ids 0..170
constexpr std::uint16_t LANG_CHINESE = 2052;

extern std::uint16_t g_nLanguage; // 2052 selects the Chinese texts
extern std::uint8_t g_nFontCharset;

// Text of an id in the language in force; empty for an id without an entry.
QString GetText(int id);
inline QString GetText(TextId id) { return GetText(ToInt(id)); }

// Start-up: language and font character set.
void InitLanguage();
