#pragma once

#include "base/DisplaySettings.h"
#include "base/TextId.h"

#include <QString>
#include <cstdint>

constexpr int TEXT_COUNT = 289;   // ids 0..288

// Text of an id in language (0 English, LANG_CHINESE); empty for an id
// without an entry.
QString GetText(int id, std::uint16_t language);
inline QString GetText(TextId id, std::uint16_t language) { return GetText(ToInt(id), language); }

// The desktop's language: the first set (not empty) of LC_ALL, LC_MESSAGES
// and LANG decides; one starting with "zh" selects Chinese, anything else
// (or none set) English. A null pointer counts as not set.
std::uint16_t LanguageFromLocale(const char* lcAll, const char* lcMessages, const char* lang);
std::uint16_t LanguageFromEnvironment();

// The language of a --lang value: "en" or "zh". False, with error set, for
// any other value.
bool LanguageFromName(const QString& name, std::uint16_t& language, QString& error);

// The language a program runs in: that of --lang when given (optionSet),
// else the desktop's. False, with error set, for a wrong --lang value.
bool ChooseLanguage(bool optionSet, const QString& optionValue, std::uint16_t& language, QString& error);
