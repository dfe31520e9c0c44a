#include "base/TextTable.h"
#include "record/Units.h"

#include <gtest/gtest.h>

namespace {

TEST(TextTable, IdsWithoutAnEntryOrOutOfRangeAreEmptyInBothLanguages)
{
    for (std::uint16_t language : {std::uint16_t(0), LANG_CHINESE})
        for (int id : {99, -1, TEXT_COUNT, 100000})
            EXPECT_TRUE(GetText(id, language).isEmpty()) << "id " << id << " language " << language;
}

TEST(TextTable, LanguageChoosesTextsAndStartUnit)
{
    EXPECT_EQ(GetText(3, LANG_CHINESE), QString::fromUtf8(" 记录仪已接入."));
    EXPECT_EQ(GetText(156, LANG_CHINESE), QString::fromUtf8("平均动力学温度"));
    EXPECT_EQ(StartDisplay(LANG_CHINESE).unit, TempUnit::Celsius);
    EXPECT_EQ(GetText(3, 0), " Instrument has connected.");
    EXPECT_EQ(StartDisplay(0).unit, TempUnit::Fahrenheit);
    EXPECT_EQ(UnitText(StartDisplay(0).unit), QString::fromUtf8("\xC2\xB0" "F"));
}

TEST(TextTable, EveryEnglishTextHasAChineseText)
{
    for (int id = 0; id < TEXT_COUNT; ++id)
        EXPECT_EQ(!GetText(id, 0).isEmpty(), !GetText(id, LANG_CHINESE).isEmpty()) << "id " << id;
}

} // namespace

namespace {

TEST(TextTable, LanguageFromTheLocaleAndTheOption)
{
    struct Case {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        std::uint16_t language;
    } const cases[] = {
        {nullptr, nullptr, nullptr, 0},
        {nullptr, nullptr, "zh_CN.UTF-8", LANG_CHINESE},
        {nullptr, nullptr, "zh_TW", LANG_CHINESE},
        {nullptr, nullptr, "de_DE.UTF-8", 0},
        {"", "", "zh_CN.UTF-8", LANG_CHINESE},         // empty counts as not set
        {"C", nullptr, "zh_CN.UTF-8", 0},               // LC_ALL wins
        {nullptr, "en_US.UTF-8", "zh_CN.UTF-8", 0},     // then LC_MESSAGES
        {nullptr, "zh_SG.UTF-8", "en_GB.UTF-8", LANG_CHINESE},
        {"zh_HK.UTF-8", "en_US.UTF-8", "en_US.UTF-8", LANG_CHINESE},
        {nullptr, nullptr, "ZH_CN", 0},                 // locale names are case-sensitive
        {nullptr, nullptr, "z", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LanguageFromLocale(c.lcAll, c.lcMessages, c.lang), c.language)
            << (c.lcAll ? c.lcAll : "-") << " " << (c.lcMessages ? c.lcMessages : "-") << " " << (c.lang ? c.lang : "-");

    std::uint16_t language = 7;
    QString error;
    EXPECT_TRUE(ChooseLanguage(true, QStringLiteral("zh"), language, error));
    EXPECT_EQ(language, LANG_CHINESE);
    EXPECT_TRUE(ChooseLanguage(true, QStringLiteral("en"), language, error));
    EXPECT_EQ(language, 0);
    language = 7;
    EXPECT_FALSE(ChooseLanguage(true, QStringLiteral("fr"), language, error));
    EXPECT_EQ(language, 7);
    EXPECT_EQ(error, QStringLiteral("--lang must be en or zh, not 'fr'"));
}

} // namespace
