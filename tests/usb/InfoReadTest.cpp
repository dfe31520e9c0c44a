#include "UsbFixture.h"

#include <QByteArray>
#include <functional>
#include <string>

namespace {

// A mission every type can hold: start 2023-11-14 20:00 UTC, 15-minute
// interval, limits 8.00 / -2.00 C and 80 / 20 %RH, three samples, stopped
// at 20:40.
void LoadMission(CVirtualUsbLogger& logger)
{
    logger.m_tStart = MakeLocalTime(2023, 11, 14, 20, 0);
    logger.m_tStop = MakeLocalTime(2023, 11, 14, 20, 40);
    logger.m_nIntervalMinutes = 15;
    logger.m_nHighLimit = 800;
    logger.m_nLowLimit = -200;
    logger.m_nHumiHigh = 8000;
    logger.m_nHumiLow = 2000;
    logger.SetSamples({2500, -150, 1000}, {4000, 6000, 5000});
}

struct FieldCase {
    const char* id;
    const char* field;
    int offset;        // data byte
    const char* hex;   // bytes the logger sends there
    std::function<double(const CLoggerRecord&)> value;
    double expected;
    int row;           // summary row, -1 for none
    const char* text;  // its text
};

const auto High = [](const CLoggerRecord& r) { return double(r.m_fHighLimit); };
const auto Low = [](const CLoggerRecord& r) { return double(r.m_fLowLimit); };
const auto Max = [](const CLoggerRecord& r) { return double(r.m_fLoggerMax); };
const auto Min = [](const CLoggerRecord& r) { return double(r.m_fLoggerMin); };
const auto Avg = [](const CLoggerRecord& r) { return double(r.m_fLoggerAvg); };
const auto Count = [](const CLoggerRecord& r) { return double(r.m_nCount); };
const auto Interval = [](const CLoggerRecord& r) { return double(r.m_tsInterval); };
const auto Start = [](const CLoggerRecord& r) { return double(r.m_tStart); };
const auto Stop = [](const CLoggerRecord& r) { return double(r.m_tStop); };

const double kStart = 1699992000; // 2023-11-14 20:00 UTC
const double kStop = 1699994400;  // 20:40

const FieldCase kFields[] = {
    // type 1: signed-magnitude limits, 16-bit interval at 18
    {"U0100000001", "start", 12, "00 14 0E 0B 17 14", Start, kStart, ROW_START, "2023-11-14  20:00"},
    {"U0100000001", "interval", 18, "00 0F", Interval, 900, ROW_INTERVAL, "00:15:00"},
    {"U0100000001", "upper limit", 20, "03 20", High, 8.0, ROW_HIGH_LIMIT, "8.00\u00B0C"},
    {"U0100000001", "lower limit", 22, "80 C8", Low, -2.0, ROW_LOW_LIMIT, "-2.00\u00B0C"},
    {"U0100000001", "stop", 25, "28 14 0E 0B 17 14", Stop, kStop, ROW_STOP, "2023-11-14  20:40"},
    {"U0100000001", "max", 31, "09 C4", Max, 25.0, ROW_MAX, "25.00\u00B0C"},
    {"U0100000001", "min", 33, "FF 6A", Min, -1.5, ROW_MIN, "-1.50\u00B0C"},
    {"U0100000001", "avg", 35, "04 5C", Avg, 11.16, ROW_AVG, "11.16\u00B0C"},
    {"U0100000001", "count", 37, "00 06", Count, 3, ROW_COUNT, "3"},
    // type 2: byte interval at 18, no limits
    {"D2500000002", "start", 12, "00 14 0E 0B 17 14", Start, kStart, ROW_START, "2023-11-14  20:00"},
    {"D2500000002", "interval", 18, "0F", Interval, 900, ROW_INTERVAL, "00:15:00"},
    {"D2500000002", "stop", 20, "28 14 0E 0B 17 14", Stop, kStop, ROW_STOP, "2023-11-14  20:40"},
    {"D2500000002", "max", 26, "09 C4", Max, 25.0, ROW_MAX, "25.00\u00B0C"},
    {"D2500000002", "min", 28, "FF 6A", Min, -1.5, ROW_MIN, "-1.50\u00B0C"},
    {"D2500000002", "avg", 30, "04 5C", Avg, 11.16, ROW_AVG, "11.16\u00B0C"},
    {"D2500000002", "count", 32, "00 06", Count, 3, ROW_COUNT, "3"},
    {"D2500000002", "no upper limit", -1, "", High, 0.0, ROW_HIGH_LIMIT, ""},
    // type 3: two's complement limits, 16-bit interval at 25
    {"UT300000003", "start", 12, "00 14 0E 0B 17 14", Start, kStart, ROW_START, "2023-11-14  20:00"},
    {"UT300000003", "stop", 19, "28 14 0E 0B 17 14", Stop, kStop, ROW_STOP, "2023-11-14  20:40"},
    {"UT300000003", "interval", 25, "00 0F", Interval, 900, ROW_INTERVAL, "00:15:00"},
    {"UT300000003", "upper limit", 27, "03 20", High, 8.0, ROW_HIGH_LIMIT, "8.00\u00B0C"},
    {"UT300000003", "lower limit", 29, "FF 38", Low, -2.0, ROW_LOW_LIMIT, "-2.00\u00B0C"},
    {"UT300000003", "max", 31, "09 C4", Max, 25.0, ROW_MAX, "25.00\u00B0C"},
    {"UT300000003", "min", 33, "FF 6A", Min, -1.5, ROW_MIN, "-1.50\u00B0C"},
    {"UT300000003", "avg", 35, "04 5C", Avg, 11.16, ROW_AVG, "11.16\u00B0C"},
    {"UT300000003", "count", 37, "00 06", Count, 3, ROW_COUNT, "3"},
    // type 4: humidity limits and statistics, 4 bytes per sample
    {"UTH00000004", "start", 12, "00 14 0E 0B 17 14", Start, kStart, ROW_START, "2023-11-14  20:00"},
    {"UTH00000004", "stop", 19, "28 14 0E 0B 17 14", Stop, kStop, ROW_STOP, "2023-11-14  20:40"},
    {"UTH00000004", "interval", 25, "00 0F", Interval, 900, ROW_INTERVAL, "00:15:00"},
    {"UTH00000004", "upper limit", 27, "03 20", High, 8.0, ROW_HIGH_LIMIT, "8.00\u00B0C"},
    {"UTH00000004", "lower limit", 29, "FF 38", Low, -2.0, ROW_LOW_LIMIT, "-2.00\u00B0C"},
    {"UTH00000004", "upper humidity", 31, "1F 40", [](const CLoggerRecord& r) { return double(r.m_fHumiHighLimit); }, 80.0, ROW_HUMI_HIGH_LIMIT, "80.00%RH"},
    {"UTH00000004", "lower humidity", 33, "07 D0", [](const CLoggerRecord& r) { return double(r.m_fHumiLowLimit); }, 20.0, ROW_HUMI_LOW_LIMIT, "20.00%RH"},
    {"UTH00000004", "max", 35, "09 C4", Max, 25.0, ROW_MAX, "25.00\u00B0C"},
    {"UTH00000004", "min", 37, "FF 6A", Min, -1.5, ROW_MIN, "-1.50\u00B0C"},
    {"UTH00000004", "avg", 39, "04 5C", Avg, 11.16, ROW_AVG, "11.16\u00B0C"},
    {"UTH00000004", "humidity max", 41, "17 70", [](const CLoggerRecord& r) { return double(r.m_fHumiMax); }, 60.0, ROW_HUMI_MAX, "60.00%RH"},
    {"UTH00000004", "humidity min", 43, "0F A0", [](const CLoggerRecord& r) { return double(r.m_fHumiMin); }, 40.0, ROW_HUMI_MIN, "40.00%RH"},
    {"UTH00000004", "humidity avg", 45, "13 88", [](const CLoggerRecord& r) { return double(r.m_fHumiAvg); }, 50.0, ROW_HUMI_AVG, "50.00%RH"},
    {"UTH00000004", "count", 47, "00 0C", Count, 3, ROW_COUNT, "3"},
};

void PrintTo(const FieldCase& c, std::ostream* os)
{
    *os << c.id << " " << c.field;
}

std::string CaseName(const char* id, const char* what)
{
    std::string name = std::string("type") + std::to_string(TypeFromIdUsb(QString::fromLatin1(id))) + "_" + what;
    for (char& ch : name)
        if (ch == ' ')
            ch = '_';
    return name;
}

class InfoLayoutTest : public UsbFixture, public ::testing::WithParamInterface<FieldCase> {};

TEST_P(InfoLayoutTest, FieldBytesDecodeToValueAndRowText)
{
    const FieldCase& c = GetParam();
    auto logger = Plug(c.id);
    LoadMission(*logger);
    ASSERT_TRUE(Identify());

    if (c.offset >= 0) {
        const QByteArray bytes = QByteArray::fromHex(QByteArray(c.hex).replace(' ', ""));
        EXPECT_EQ(logger->InfoBlock().mid(c.offset, bytes.size()).toHex(' ').toUpper(), QByteArray(c.hex))
            << c.field;
    }
    EXPECT_NEAR(c.value(*record), c.expected, 1e-4) << c.field;
    if (c.row >= 0) {
        EXPECT_EQ(record->m_strValue[c.row].trimmed(), QString::fromUtf8(c.text)) << c.field;
    }
}

INSTANTIATE_TEST_SUITE_P(AllTypes, InfoLayoutTest, ::testing::ValuesIn(kFields),
                         [](const auto& info) { return CaseName(info.param.id, info.param.field); });

struct TypeCase {
    const char* id;
    int type;
    std::int32_t rowFlags;
    int infoBytes;
    bool tempAlarm;
    bool humiAlarm;
};

void PrintTo(const TypeCase& c, std::ostream* os)
{
    *os << c.id;
}

class InfoTypeTest : public UsbFixture, public ::testing::WithParamInterface<TypeCase> {};

TEST_P(InfoTypeTest, TypeFlagsAndLengths)
{
    const TypeCase& c = GetParam();
    auto logger = Plug(c.id);
    LoadMission(*logger);
    ASSERT_TRUE(Identify());

    EXPECT_EQ(record->m_nType, c.type);
    EXPECT_EQ(record->m_strValue[ROW_ID], QString::fromLatin1(c.id));
    EXPECT_EQ(record->m_nRowFlags, c.rowFlags);
    EXPECT_EQ(record->m_bTimesValid, 1);
    EXPECT_EQ(record->m_bTempAlarm, c.tempAlarm);
    EXPECT_EQ(record->m_bHumiAlarm, c.humiAlarm);
    EXPECT_EQ(logger->InfoBlock().size(), c.infoBytes);
    // The summary shows the logger's own statistics and the time table is built.
    EXPECT_FLOAT_EQ(record->m_fMax, record->m_fLoggerMax);
    EXPECT_EQ(record->m_tTime[2], record->m_tStart + 2 * 900);
    // The second read asked for the reply length of the decoded type.
    const auto calls = lib.Calls();
    EXPECT_EQ(calls.back(), "ReadData 0 " + std::to_string(7 + c.infoBytes));
}

constexpr std::int32_t kBase = RF_ID | RF_START | RF_STOP | RF_INTERVAL | RF_COUNT | RF_MAX | RF_MIN | RF_AVG;
constexpr std::int32_t kLimits = RF_HIGH_LIMIT | RF_LOW_LIMIT;
constexpr std::int32_t kHumi = RF_HUMI_MAX | RF_HUMI_MIN | RF_HUMI_AVG | RF_HUMI_HIGH_LIMIT | RF_HUMI_LOW_LIMIT;

INSTANTIATE_TEST_SUITE_P(AllTypes, InfoTypeTest, ::testing::Values(
    TypeCase{"U0100000001", 1, kBase | kLimits, 40, true, false},
    TypeCase{"D2500000002", 2, kBase, 35, false, false},
    TypeCase{"i9900000002", 2, kBase, 35, false, false},
    TypeCase{"UI300000003", 3, kBase | kLimits, 40, true, false},
    TypeCase{"UTH00000004", 4, kBase | kLimits | kHumi, 50, true, true}),
    [](const auto& info) { return std::string(info.param.id); });

using InfoReadTest = UsbFixture;

TEST_F(InfoReadTest, ReplyLengthFollowsStoredType)
{
    Plug("UTH00000004");
    ASSERT_TRUE(link->OpenUsbDevice());
    for (auto [stored, wanted] : {std::pair{0, 42}, {4, 57}, {1, 47}, {3, 47}, {2, 42}, {6, 42}}) {
        record->m_nType = stored;
        lib.ClearCalls();
        ASSERT_TRUE(link->ReadInfo(false));
        EXPECT_EQ(lib.Calls(), (std::vector<std::string>{"WriteData 0 7", "ReadData 0 " + std::to_string(wanted)}))
            << "stored type " << stored;
    }
}

TEST_F(InfoReadTest, FirstReadOfFreshType4LearnsTypeSecondGetsAllFields)
{
    auto logger = Plug("UTH00000004");
    LoadMission(*logger);
    ASSERT_TRUE(link->OpenUsbDevice());
    record->m_nType = 0;
    ASSERT_TRUE(link->ReadInfo(false));
    EXPECT_EQ(record->m_nType, 4);
    EXPECT_EQ(record->m_nCount, 0); // used memory lies beyond the 35 bytes read
    ASSERT_TRUE(link->ReadInfo(false));
    EXPECT_EQ(record->m_nCount, 3);
    EXPECT_FLOAT_EQ(record->m_fHumiAvg, 50.0f);
}

struct ReadingCase {
    const char* id;
    int offset;
    const char* bytes;
    float expected;
};

void PrintTo(const ReadingCase& c, std::ostream* os)
{
    *os << c.id << " byte " << c.offset << " " << c.bytes;
}

class ReadingEncodingTest : public UsbFixture, public ::testing::WithParamInterface<ReadingCase> {};

TEST_P(ReadingEncodingTest, Decodes)
{
    const ReadingCase& c = GetParam();
    auto logger = Plug(c.id);
    LoadMission(*logger);
    logger->PatchInfo(c.offset, QByteArray::fromHex(c.bytes));
    ASSERT_TRUE(Identify());
    const float value = c.offset == 20 || c.offset == 27 ? record->m_fHighLimit : record->m_fLoggerMax;
    EXPECT_FLOAT_EQ(value, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Readings, ReadingEncodingTest, ::testing::Values(
    ReadingCase{"UT300000003", 31, "8000", 0.0f},
    ReadingCase{"UT300000003", 31, "7FFF", 327.67f},
    ReadingCase{"UT300000003", 31, "FFFF", -0.01f},
    ReadingCase{"UT300000003", 31, "FF38", -2.0f},
    ReadingCase{"U0100000001", 20, "80C8", -2.0f},     // signed magnitude
    ReadingCase{"UT300000003", 27, "80C8", -325.68f},  // the same bytes, two's complement
    ReadingCase{"U0100000001", 20, "0320", 8.0f}));

TEST_F(InfoReadTest, UsedMemoryBecomesSampleCountByBytesPerSample)
{
    auto type2 = Plug("D2500000002");
    type2->PatchInfo(32, QByteArray::fromHex("0064"));
    ASSERT_TRUE(Identify());
    EXPECT_EQ(record->m_nCount, 50);
    EXPECT_EQ(record->m_strValue[ROW_COUNT], "50");

    auto type4 = Plug("UTH00000004");
    type4->PatchInfo(47, QByteArray::fromHex("0064"));
    ASSERT_TRUE(Identify());
    EXPECT_EQ(record->m_nCount, 25);
}

TEST_F(InfoReadTest, IntervalTexts)
{
    auto type2 = Plug("D2500000002");
    type2->PatchInfo(18, QByteArray::fromHex("0F"));
    ASSERT_TRUE(Identify());
    EXPECT_EQ(record->m_strValue[ROW_INTERVAL], "00:15:00");

    auto type3 = Plug("UT300000003");
    type3->PatchInfo(25, QByteArray::fromHex("05DC")); // 1500 minutes
    ASSERT_TRUE(Identify());
    EXPECT_EQ(record->m_tsInterval, 90000);
    EXPECT_EQ(record->m_strValue[ROW_INTERVAL], "01:00:00");
}

TEST_F(InfoReadTest, InvalidStartFailsAfterIdAndEarlierFields)
{
    auto logger = Plug("U0100000001");
    LoadMission(*logger);
    ASSERT_TRUE(Identify());
    record->m_strValue[ROW_STOP] = "kept";
    logger->m_nIntervalMinutes = 30;
    logger->PatchInfo(12, QByteArray::fromHex("3C")); // minute 60
    EXPECT_FALSE(link->ReadInfo(false));
    // Type 1 decodes interval and limits before the start time; the stop
    // row and the statistics stay as they were.
    EXPECT_EQ(record->m_nRowFlags, RF_ID | RF_INTERVAL | RF_HIGH_LIMIT | RF_LOW_LIMIT);
    EXPECT_EQ(record->m_strValue[ROW_INTERVAL], "00:30:00");
    EXPECT_EQ(record->m_strValue[ROW_START], "");
    EXPECT_EQ(record->m_strValue[ROW_STOP], "kept");
    EXPECT_EQ(record->m_bTimesValid, 0);
}

TEST_F(InfoReadTest, InvalidStopFallsBackAndTimesCheckCutsRows)
{
    // A start after 2010-10-10 05:05 and a stop with month 13.
    for (auto [id, stopAt, flags] : {std::tuple<const char*, int, int>{"D2500000002", 20, RF_ID}, {"UT300000003", 19, RF_ID | RF_START}}) {
        auto logger = Plug(id);
        LoadMission(*logger);
        logger->PatchInfo(stopAt + 3, QByteArray::fromHex("0D"));
        ASSERT_TRUE(Identify()) << id;
        EXPECT_EQ(record->m_tStop, MakeLocalTime(2010, 10, 10, 5, 5)) << id;
        EXPECT_EQ(record->m_strValue[ROW_STOP], "2010-10-10  05:05") << id;
        EXPECT_EQ(record->m_bTimesValid, 0) << id;
        EXPECT_EQ(record->m_nRowFlags, flags) << id;
    }
}

TEST_F(InfoReadTest, StopVariantStopsRecording)
{
    auto logger = Plug("D2500000002");
    logger->SetClock(kNow);
    logger->StartMission(kNow - 3600, 10);
    ASSERT_EQ(logger->m_nRunState, 1);
    ASSERT_TRUE(link->OpenUsbDevice());
    ASSERT_TRUE(link->ReadInfo(true));
    EXPECT_EQ(logger->m_nRunState, 0);
    EXPECT_EQ(record->m_nCount, 7);
    EXPECT_EQ(record->m_tStop, kNow - 20); // whole minutes
}

TEST_F(InfoReadTest, UnknownIdSetsOnlyIdAndType)
{
    Plug("X1234567890");
    record->m_strValue[ROW_START] = "kept";
    EXPECT_FALSE(Identify());
    EXPECT_EQ(record->m_nType, 0);
    EXPECT_EQ(record->m_strValue[ROW_ID], "X1234567890");
    EXPECT_EQ(record->m_nRowFlags, RF_ID);
    EXPECT_EQ(record->m_strValue[ROW_START], "kept");
}

} // namespace
