// The reader against files built byte by byte from the format's definition
// (as another implementation writes them), and every refusal.
#include "FileFixture.h"

#include "datafile/LoggerFile.h"
#include "record/TimeText.h"
#include "support/ScopedTz.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const int kNumbers[5] = {10, 20, 3, 4, 5}; // key (200 div 3 + 20) mod 256 = 86

// A type 1 body with count samples: -3.00, -2.75, ... 96.75, -3.00, ...
std::string Type1Body(int count, const char* countText = nullptr)
{
    char countField[16];
    std::snprintf(countField, sizeof countField, "%.7d", count);
    std::string body = std::string("U1234567890") + "202403050941" + "202403051011" + "00010"
        + (countText ? countText : countField);
    for (double v : {25.5, -5.5, 10.0, 8.0, 2.0})
        body += fixture::Value(v);
    for (int i = 0; i < count; ++i)
        body += fixture::Value((i % 400) * 0.25 - 3.0);
    return body;
}

TEST(Reader, ReadsAFileBuiltFromTheDefinition)
{
    CLoggerRecord record;
    ASSERT_EQ(fixture::Key(kNumbers), 86);
    const std::string body = Type1Body(30); // past offset 256, where the mask takes the high byte
    ASSERT_GT(body.size(), 260u);
    const QByteArray file = fixture::File(kNumbers, body, true, "Shelf 3");
    ASSERT_EQ(file.left(15), QByteArray(" 10 20  3  4  5"));

    CLoggerFile reader;
    ASSERT_TRUE(reader.LoadBytes(file, record, kDefaultDisplay));
    const CLoggerRecord& r = record;
    EXPECT_EQ(r.m_strValue[ROW_ID], QStringLiteral("U1234567890"));
    EXPECT_EQ(r.m_nType, 1);
    EXPECT_EQ(r.m_tStart, MakeLocalTime(2024, 3, 5, 9, 41));
    EXPECT_EQ(r.m_tStop, MakeLocalTime(2024, 3, 5, 10, 11));
    EXPECT_EQ(r.m_tsInterval, 600);
    EXPECT_EQ(r.m_nCount, 30);
    EXPECT_FLOAT_EQ(r.m_fLoggerAvg, 10.0f);
    EXPECT_FLOAT_EQ(r.m_fHighLimit, 8.0f);
    EXPECT_FLOAT_EQ(r.m_fLowLimit, 2.0f);
    for (int i = 0; i < 30; ++i)
        ASSERT_FLOAT_EQ(r.m_fTemp[i], static_cast<float>(i * 0.25 - 3.0)) << i;
    EXPECT_EQ(r.m_strValue[ROW_DESCRIPTION], QStringLiteral("Shelf 3"));
    EXPECT_FALSE(reader.LoadedArea());
}

TEST(Reader, ReadsATemperatureHumidityAreaFileWithAChineseDescription)
{
    CLoggerRecord record;
    std::string body = std::string("UTH12345678") + "202403050941" + "202403050951" + "00010" + "0000002";
    for (double v : {30.25, -5.5, 12.34, 8.0, 2.0, 80.5, 20.25, 50.0, 70.0, 30.0, 7.5, 45.0, 9.25, 71.5})
        body += fixture::Value(v);
    const QByteArray gbk("\xC0\xE4\xBF\xE2 B"); // "冷库 B"
    CLoggerFile reader;
    ASSERT_TRUE(reader.LoadBytes(fixture::File(kNumbers, body, true, gbk, 0x07010002), record, kDefaultDisplay));
    const CLoggerRecord& r = record;
    EXPECT_EQ(r.m_nType, 4);
    EXPECT_EQ(r.m_strValue[ROW_DESCRIPTION], QStringLiteral("冷库 B"));
    EXPECT_FLOAT_EQ(r.m_fHumiHighLimit, 70.0f);
    EXPECT_FLOAT_EQ(r.m_fTemp[1], 9.25f);
    EXPECT_FLOAT_EQ(r.m_fHumi[1], 71.5f);
    EXPECT_TRUE(reader.LoadedArea());
    EXPECT_EQ(r.m_strValue[ROW_HUMI_MAX], QStringLiteral("80.50%RH"));
}

TEST(Reader, WriterOutputDecodesByTheDefinition)
{
    CLoggerRecord source;
    fixture::FillRecord(source, QStringLiteral("UTH40000004"), 4, 2);
    TempDir dir;
    CLoggerFile writer(dir.path("w.tavo"), CLoggerFile::ModeWrite);
        ASSERT_TRUE(writer.Save(source, false));
    QFile f(dir.path("w.tavo"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray file = f.readAll();

    int numbers[5];
    for (int k = 0; k < 5; ++k)
        numbers[k] = file.mid(3 * k, 3).trimmed().toInt();
    EXPECT_NE(numbers[2], 0);
    std::string expected = std::string("UTH40000004") + "202403050941" + "202403050951" + "00010" + "0000002";
    for (double v : {30.25, -5.5, 12.34, 8.0, 2.0, 80.5, 20.25, 50.0, 70.0, 30.0, -20.0, 0.0, -19.99, 0.01})
        expected += fixture::Value(v);
    const std::string decoded = fixture::Unscramble(file, fixture::Key(numbers));
    EXPECT_EQ(decoded.substr(0, decoded.size() - 64), expected);
    EXPECT_EQ(file.mid(file.size() - 64, 60), QByteArray("Shelf 3").leftJustified(60, '\0'));
    for (char c : file.mid(15, file.size() - 15 - 64))
        ASSERT_NE(c, '\x1A');
}

struct Refusal {
    const char* what;
    QByteArray file;
    bool recordUntouched; // refused before any field is stored
    const char* check;    // the reader's reason, after "damaged: "
};

QByteArray WithBody(std::string body, bool trailer = true)
{
    return fixture::File(kNumbers, body, trailer, "x");
}

std::string Patched(std::string body, std::size_t pos, const char* text)
{
    body.replace(pos, std::strlen(text), text);
    return body;
}

TEST(Reader, RefusesDamagedFiles)
{
    CLoggerRecord record;
    const std::string good = Type1Body(2);
    QByteArray zeroDivisor = WithBody(good);
    zeroDivisor.replace(6, 3, "  0");
    QByteArray byteDivisor = WithBody(good);
    byteDivisor.replace(6, 3, "256");
    const Refusal cases[] = {
        {"shorter than 77 bytes", WithBody(good).left(76), true, "shorter than the smallest data file"},
        {"third header number 0", zeroDivisor, true, "the header's third number is 0"},
        {"third header number 256 (0 as a byte)", byteDivisor, true, "the header's third number is 0"},
        {"first character not D, U, I or i", WithBody(Patched(good, 0, "X")), true, "the ID does not begin with D, U, I or i"},
        {"letter in a sample", WithBody(Patched(good, 90, "A")), true, "a character that is not part of a number"},
        {"letter in the statistics", WithBody(Patched(good, 50, "e")), true, "a character that is not part of a number"},
        {"letter in the times", WithBody(Patched(good, 14, "O")), true, "a character that is not part of a number"},
        {"one byte more", WithBody(good + "0"), false, "its size does not match its sample count"},
        {"one byte less", WithBody(good.substr(0, good.size() - 1)), false, "its size does not match its sample count"},
        {"one byte less without trailer", WithBody(good.substr(0, good.size() - 1), false), false, "its size does not match its sample count"},
        {"year 1899", WithBody(Patched(good, 11, "1899")), false, "the start time is no valid time"},
        {"year 3001", WithBody(Patched(good, 11, "3001")), false, "the start time is no valid time"},
        {"month 13", WithBody(Patched(good, 15, "13")), false, "the start time is no valid time"},
        {"day 0", WithBody(Patched(good, 17, "00")), false, "the start time is no valid time"},
        {"day 32", WithBody(Patched(good, 17, "32")), false, "the start time is no valid time"},
        {"hour 24", WithBody(Patched(good, 19, "24")), false, "the start time is no valid time"},
        {"minute 60", WithBody(Patched(good, 21, "60")), false, "the start time is no valid time"},
        {"stop month 0", WithBody(Patched(good, 27, "00")), false, "the stop time is no valid time"},
        {"count above 60000", WithBody(Type1Body(60001)), false, "a sample count outside 0 to 60000"},
        // Size would match a count of -1: 82 - 7 body characters.
        {"negative count", WithBody(Type1Body(0, "-000001").substr(0, 75)), false, "a sample count outside 0 to 60000"},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.what);
        record.Reset();
        record.m_strValue[ROW_ID] = QStringLiteral("before");
        record.SetCount(7);
        record.m_byDataFlags = 0; // Reset keeps it, as the Open command clears it
        CLoggerFile reader;
        EXPECT_FALSE(reader.LoadBytes(c.file, record, kDefaultDisplay));
        EXPECT_EQ(reader.Error().toStdString(), std::string("damaged: ") + c.check);
        EXPECT_LE(record.m_nCount, MAX_SAMPLES);
        EXPECT_GE(record.m_nCount, 0);
        EXPECT_FALSE(record.m_byDataFlags & DATA_FLAG_SAMPLES);
        EXPECT_EQ(record.m_strValue[ROW_ID], c.recordUntouched ? QStringLiteral("before") : QStringLiteral("U1234567890"));
    }
    // The same bodies undamaged load.
    CLoggerFile reader;
    EXPECT_TRUE(reader.LoadBytes(WithBody(good), record, kDefaultDisplay));
    EXPECT_TRUE(reader.LoadBytes(WithBody(good, false), record, kDefaultDisplay));
    EXPECT_TRUE(reader.LoadBytes(WithBody(Type1Body(60000)), record, kDefaultDisplay));
}

TEST(Reader, FileWithoutTrailerLeavesItsLastBytesUnchecked)
{
    CLoggerRecord record;
    // Without the trailer the last 64 body characters are never checked;
    // a blank there reads as a number that ends early.
    std::string body = Type1Body(12);
    body.replace(body.size() - 7, 7, "1.5    ");
    CLoggerFile reader;
    ASSERT_TRUE(reader.LoadBytes(WithBody(body, false), record, kDefaultDisplay));
    EXPECT_FLOAT_EQ(record.m_fTemp[11], 1.5f);
    EXPECT_EQ(record.m_strValue[ROW_DESCRIPTION], "Temp Record");
}

// A refused file once reset both records, so the mission on screen was lost.
TEST(Reader, OpenDataFileReplacesTheRecordOnlyWithAWholeFile)
{
    CLoggerRecord record;
    TempDir dir;
    auto write = [&](const char* name, const QByteArray& data) {
        QFile f(dir.path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    };
    write("good.tavo", WithBody(Type1Body(3)));
    write("size.tavo", WithBody(Type1Body(4) + "1"));       // fails after the header fields were read
    write("time.tavo", WithBody("U1234567890202413050941")); // fails at the start time

    record.m_nBattery = 6;
    bool area = true;
    EXPECT_EQ(OpenDataFileRecord(dir.path("good.tavo"), record, kDefaultDisplay, &area), OpenDataResult::Loaded);
    EXPECT_FALSE(area);
    EXPECT_EQ(record.m_tTime[2], record.m_tStart + 1200);
    EXPECT_EQ(record.m_nBattery, 0);
    EXPECT_TRUE(record.m_bDescRead);
    record.m_nBattery = 6;
    const time64 start = record.m_tStart;
    const float last = record.m_fTemp[2];

    struct Case {
        const char* name;
        OpenDataResult result;
        const char* why;
    } const cases[] = {
        {"size.tavo", OpenDataResult::Failed, "damaged: its size does not match its sample count"},
        {"time.tavo", OpenDataResult::Failed, "damaged: the start time is no valid time"},
        {"missing.tavo", OpenDataResult::NotOpened, "no such file"},
    };
    for (const Case& c : cases) {
        QString why;
        area = true;
        EXPECT_EQ(OpenDataFileRecord(dir.path(c.name), record, kDefaultDisplay, &area, &why), c.result) << c.name;
        EXPECT_EQ(why, c.why);
        EXPECT_FALSE(area) << c.name;
        EXPECT_EQ(record.m_nCount, 3) << c.name;
        EXPECT_EQ(record.m_nReceived, 3) << c.name;
        EXPECT_EQ(record.m_tStart, start) << c.name;
        EXPECT_EQ(record.m_fTemp[2], last) << c.name;
        EXPECT_EQ(record.m_strValue[ROW_COUNT], "3") << c.name;
        EXPECT_EQ(record.m_nBattery, 6) << c.name;
        EXPECT_TRUE(record.m_byDataFlags & DATA_FLAG_SAMPLES) << c.name;
    }
}

TEST(Reader, HeaderNumbersComeFromTheSeededGeneratorAndAvoidAZeroDivisor)
{
    unsigned seed = 0;
    for (;; ++seed) {
        std::srand(seed);
        std::rand();
        std::rand();
        if (std::rand() % 256 == 0)
            break;
        ASSERT_LT(seed, 1000000u);
    }
    std::uint8_t numbers[5];
    DrawHeaderNumbers(seed, numbers);
    EXPECT_NE(numbers[2], 0);

    DrawHeaderNumbers(seed + 1, numbers);
    std::srand(seed + 1);
    int plain[5];
    for (int& n : plain)
        n = std::rand() % 256;
    if (plain[2] != 0) {
        for (int k = 0; k < 5; ++k)
            EXPECT_EQ(numbers[k], plain[k]);
    }

}

TEST(Reader, LocalTimesAcrossADaylightSavingChange)
{
    CLoggerRecord record;
    ScopedTz tz("Europe/Berlin");
    CLoggerRecord source;
    fixture::FillRecord(source, QStringLiteral("U1000000001"), 1, 4);
    source.m_tsInterval = 15 * 60;
    source.m_tStart = MakeLocalTime(2024, 3, 31, 1, 30); // clocks go 02:00 -> 03:00
    source.m_tStop = source.m_tStart + 3 * source.m_tsInterval;
    TempDir dir;
    CLoggerFile writer(dir.path("dst.tavo"), CLoggerFile::ModeWrite);
        ASSERT_TRUE(writer.Save(source, false));

    ASSERT_EQ(OpenDataFileRecord(dir.path("dst.tavo"), record, kDefaultDisplay), OpenDataResult::Loaded);
    const CLoggerRecord& r = record;
    EXPECT_EQ(r.m_tStart, source.m_tStart);
    EXPECT_EQ(r.m_tStop, source.m_tStop);
    EXPECT_EQ(r.m_strValue[ROW_START], QStringLiteral("2024-3-31 01:30"));
    EXPECT_EQ(r.m_strValue[ROW_STOP], QStringLiteral("2024-3-31 03:15"));
    EXPECT_EQ(r.m_tTime[2] - r.m_tTime[1], 900);
    EXPECT_EQ(FormatDateTime(r.m_tTime[1]), QStringLiteral("2024-3-31 01:45"));
    EXPECT_EQ(FormatDateTime(r.m_tTime[2]), QStringLiteral("2024-3-31 03:00"));
}

} // namespace
