#include "base/TextTable.h"
#include "record/Units.h"

#include <gtest/gtest.h>

namespace {

class LanguageGuard {
public:
    explicit LanguageGuard(std::uint16_t language) { g_nLanguage = language; }
    ~LanguageGuard()
    {
        g_nLanguage = 0;
        InitUnits();
    }
};

struct TextCase {
    int id;
    const char* english;
};

TEST(TextTable, EnglishTextsKeepTheirBlanksAndMissingIdsAreEmpty)
{
    const TextCase cases[] = {
        {0, " Ready..."}, {3, " Instrument has connected."}, {21, ""}, {24, ""},
        {40, " Failure to open this file : "}, {41, "Scaling data \ncoordinate"},
        {62, "Temp Record"}, {64, "Temp Record"}, {65, "Temp&Humi Record"},
        {99, ""}, {157, " Mean Kinetic Temp.:"}, {160, " Saving file... "},
        {170, "Measure Time"}, {171, ""}, {-1, ""}, {100000, ""},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(GetText(c.id), QString::fromUtf8(c.english)) << "id " << c.id;
}

TEST(TextTable, LanguageChoosesTextsAndStartUnit)
{
    {
        LanguageGuard chinese(LANG_CHINESE);
        InitUnits();
        EXPECT_EQ(GetText(3), QString::fromUtf8(" 记录仪已接入."));
        EXPECT_EQ(GetText(156), QString::fromUtf8("平均动力学温度"));
        EXPECT_EQ(g_strTempUnit, g_strUnitC);
    }
    InitLanguageAndUnits();
    EXPECT_EQ(GetText(3), " Instrument has connected.");
    EXPECT_EQ(g_strTempUnit, g_strUnitF);
    EXPECT_EQ(g_strUnitF, QString::fromUtf8("\xC2\xB0" "F"));
}

TEST(TextTable, EveryEnglishTextHasAChineseText)
{
    for (int id = 0; id <= 170; ++id) {
        g_nLanguage = 0;
        const bool hasEnglish = !GetText(id).isEmpty();
        g_nLanguage = LANG_CHINESE;
        const bool hasChinese = !GetText(id).isEmpty();
        EXPECT_EQ(hasEnglish, hasChinese) << "id " << id;
    }
    g_nLanguage = 0;
}

} // namespace
