// Writer and reader of the data file: sizes, round trips, the area marker,
// descriptions, failed saves.
#include "FileFixture.h"

#include "base/CodePage.h"
#include "base/TextTable.h"
#include "datafile/BodyWriter.h"
#include "datafile/LoggerFile.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>

namespace {


QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

bool SaveRecord(const CLoggerRecord& source, const QString& path, bool area = false)
{
    CLoggerFile file(path, CLoggerFile::ModeWrite);
    return file.IsOutputOpen() && file.Save(source, area);
}

bool LoadPath(const QString& path, CLoggerRecord& loaded)
{
    CLoggerFile file(path, CLoggerFile::ModeRead);
    return file.Load(loaded, kDefaultDisplay);
}

struct TypeCase {
    const char* id;
    int type;
    int count;
    qint64 size; // with the trailer
};

TEST(LoggerFile, EveryTypeHasItsSizeAndRoundTripsWithAndWithoutTrailer)
{
    CLoggerRecord source;
    CLoggerRecord loaded;
    const TypeCase cases[] = {
        {"U1000000001", 1, 5, 15 + 82 + 35 + 64},
        {"D2000000002", 2, 5, 15 + 62 + 35 + 64},
        {"i2000000002", 2, 0, 15 + 62 + 64},
        {"UT300000003", 3, 100, 861},
        {"UI300000003", 3, 1, 15 + 82 + 7 + 64},
        {"UTH40000004", 4, 10, 336},
        {"I5000000005", 5, 9999, 15 + 62 + 7 * 9999 + 64},
        {"DI600000006", 6, 3, 15 + 82 + 21 + 64},
        {"UTH40000004", 4, MAX_SAMPLES, 15 + 117 + 14LL * MAX_SAMPLES + 64},
    };
    TempDir dir;
    for (const TypeCase& c : cases) {
        SCOPED_TRACE(c.id);
        fixture::FillRecord(source, QString::fromLatin1(c.id), c.type, c.count);
        const QString path = dir.path("run.tavo");
        ASSERT_TRUE(SaveRecord(source, path));
        const QByteArray file = ReadAll(path);
        ASSERT_EQ(file.size(), c.size);

        for (const bool trailer : {true, false}) {
            SCOPED_TRACE(trailer ? "with trailer" : "without trailer");
            ASSERT_TRUE(WriteAll(path, trailer ? file : file.left(file.size() - 64)));
            loaded.Reset();
            ASSERT_TRUE(LoadPath(path, loaded));
            const CLoggerRecord& r = loaded;
            EXPECT_EQ(r.m_nType, c.type);
            EXPECT_EQ(r.m_strValue[ROW_ID], QString::fromLatin1(c.id));
            EXPECT_EQ(r.m_tStart, source.m_tStart);
            EXPECT_EQ(r.m_tStop, source.m_tStop);
            EXPECT_EQ(r.m_tsInterval, 600);
            EXPECT_EQ(r.m_nCount, c.count);
            EXPECT_EQ(r.m_nReceived, c.count);
            EXPECT_TRUE(r.m_byDataFlags & DATA_FLAG_SAMPLES);
            EXPECT_FLOAT_EQ(r.m_fLoggerMax, 30.25f);
            EXPECT_FLOAT_EQ(r.m_fLoggerMin, -5.5f);
            EXPECT_FLOAT_EQ(r.m_fLoggerAvg, 12.34f);
            const bool limits = c.type != 2 && c.type != 5;
            EXPECT_EQ(r.m_bTempAlarm, limits ? 1 : 0);
            EXPECT_FLOAT_EQ(r.m_fHighLimit, limits ? 8.0f : 0.0f);
            EXPECT_EQ(r.m_bHumiAlarm, c.type == 4 ? 1 : 0);
            if (c.type == 4) {
                EXPECT_FLOAT_EQ(r.m_fHumiAvg, 50.0f);
            }
            for (int i = 0; i < c.count; ++i) {
                ASSERT_FLOAT_EQ(r.m_fTemp[i], source.m_fTemp[i]) << i;
                if (c.type == 4) {
                    ASSERT_FLOAT_EQ(r.m_fHumi[i], source.m_fHumi[i]) << i;
                }
            }
            EXPECT_EQ(r.m_strValue[ROW_DESCRIPTION], trailer ? QStringLiteral("Shelf 3") : GetText(TypeTextId(c.type), 0));
        }
    }
}

TEST(LoggerFile, LoadFillsTheSummaryRowsAndFlags)
{
    CLoggerRecord source;
    CLoggerRecord loaded;
    fixture::FillRecord(source, QStringLiteral("UTH40000004"), 4, 3);
    TempDir dir;
    ASSERT_TRUE(SaveRecord(source, dir.path("a.tavo")));
    loaded.Reset();
    ASSERT_TRUE(LoadPath(dir.path("a.tavo"), loaded));
    const CLoggerRecord& r = loaded;
    EXPECT_EQ(r.m_strValue[ROW_START], QStringLiteral("2024-3-5 09:41"));
    EXPECT_EQ(r.m_strValue[ROW_STOP], QStringLiteral("2024-3-5 10:01"));
    EXPECT_EQ(r.m_strValue[ROW_INTERVAL], QStringLiteral("00:10:00"));
    EXPECT_EQ(r.m_strValue[ROW_COUNT], QStringLiteral("3"));
    EXPECT_EQ(r.m_nRowFlags, 0xFFFF);
    // Plain mode shows the logger's own statistics.
    EXPECT_FLOAT_EQ(r.m_fMax, 30.25f);
    EXPECT_FLOAT_EQ(r.m_fMin, -5.5f);
}

TEST(LoggerFile, WriterFormatsValuesIntoSevenCharacters)
{
    struct Case {
        float value;
        const char* text; // nullptr: the value cannot be stored
    } const cases[] = {
        {-5.5f, "-5.50  "}, {0.0f, "0.00   "}, {123.456f, "123.46 "}, {-327.68f, "-327.68"},
        {-1000.0f, "-1000.0"}, {0.125f, "0.12   "}, {0.375f, "0.38   "}, {1.005f, "1.00   "},
        {-0.001f, "-0.00  "}, {-0.0f, "-0.00  "}, {9.999f, "10.00  "}, {327.67f, "327.67 "}, {12345.67f, "12345.6"}, {-12345.6f, "-12345."}, {123456.0f, "123456."},
        {1234567.0f, nullptr}, {-123456.0f, nullptr}, {INFINITY, nullptr}, {NAN, nullptr},
    };
    for (const Case& c : cases) {
        std::string out;
        const bool ok = AppendValue(out, c.value);
        if (c.text) {
            EXPECT_TRUE(ok) << c.value;
            EXPECT_EQ(out, c.text) << c.value;
        } else {
            EXPECT_FALSE(ok) << c.value;
        }
    }
}

TEST(LoggerFile, WriterValuesMatchPrintf)
{
    for (int i = -99999; i <= 99999; i += 7) {
        for (const float v : {static_cast<float>(i) / 100.0f, static_cast<float>(i) / 1000.0f, static_cast<float>(i) * 0.0037f}) {
            char expected[64];
            std::snprintf(expected, sizeof expected, "%-7.2f", static_cast<double>(v));
            if (std::strlen(expected) > 7)
                continue;
            std::string out;
            ASSERT_TRUE(AppendValue(out, v)) << v;
            ASSERT_EQ(out, expected) << v;
        }
    }
}

TEST(LoggerFile, RecordThatDoesNotFitTheLayoutFailsWithTheCauseAndLeavesTheEarlierFile)
{
    CLoggerRecord source;
    TempDir dir;
    const QString path = dir.path("keep.tavo");
    fixture::FillRecord(source, QStringLiteral("U1000000001"), 1, 4);
    ASSERT_TRUE(SaveRecord(source, path));
    const QByteArray before = ReadAll(path);

    const char* const kValue = "a value too large for the data file's seven characters";
    const char* const kId = "the logger ID is not 11 letters, digits or signs";
    const char* const kYear = "a start or stop time outside the years 1900 to 3000";
    struct Spoil {
        const char* what;
        const char* id;
        void (*apply)(CLoggerRecord&);
        const char* why;
    } const spoils[] = {
        {"sample not finite", "U1000000001", [](CLoggerRecord& r) { r.m_fTemp[2] = NAN; }, kValue},
        {"sample too wide", "U1000000001", [](CLoggerRecord& r) { r.m_fTemp[1] = 1e9f; }, kValue},
        {"ID too short", "U1000000001", [](CLoggerRecord& r) { r.m_strValue[ROW_ID] = QStringLiteral("U123"); }, kId},
        {"ID not ASCII", "U1000000001", [](CLoggerRecord& r) { r.m_strValue[ROW_ID] = QStringLiteral("U12345678\u00E9"); }, kId},
        {"count above the arrays", "U1000000001", [](CLoggerRecord& r) { r.m_nCount = MAX_SAMPLES + 1; },
         "60001 samples; a data file of this logger type holds at most 60000"},
        {"negative count", "U1000000001", [](CLoggerRecord& r) { r.m_nCount = -1; },
         "-1 samples; a data file of this logger type holds at most 60000"},
        {"interval too long", "U1000000001", [](CLoggerRecord& r) { r.m_tsInterval = 100000LL * 60; },
         "a sampling interval of 100000 minutes; a data file of this logger type holds at most 99999"},
        {"negative interval", "U1000000001", [](CLoggerRecord& r) { r.m_tsInterval = -60; },
         "a sampling interval of -1 minutes; a data file of this logger type holds at most 99999"},
        {"year of five digits", "U1000000001", [](CLoggerRecord& r) { r.m_tStop = 400000000000LL; }, kYear},
        // Readers refuse a year past 3000, so it is not written either.
        {"year 3001", "U1000000001", [](CLoggerRecord& r) { r.m_tStart = 32535216000LL + 10 * 86400; }, kYear},
        // Types 2 and 5 hold two interval and four count digits.
        {"type 2, 100 minutes", "D2000000002", [](CLoggerRecord& r) { r.m_tsInterval = 100 * 60; },
         "a sampling interval of 100 minutes; a data file of this logger type holds at most 99"},
        {"type 2, 10000 samples", "D2000000002", [](CLoggerRecord& r) { r.m_nCount = 10000; },
         "10000 samples; a data file of this logger type holds at most 9999"},
        {"type 5, 10000 samples", "I5000000005", [](CLoggerRecord& r) { r.m_nCount = 10000; },
         "10000 samples; a data file of this logger type holds at most 9999"},
    };
    for (const Spoil& s : spoils) {
        SCOPED_TRACE(s.what);
        fixture::FillRecord(source, QString::fromLatin1(s.id), 1, 10000);
        source.SetCount(4);
        source.m_nReceived = 4;
        s.apply(source);
        EXPECT_EQ(LayoutRefusal(source).isEmpty(), QByteArray(s.why) == kValue);
        CLoggerFile file(path, CLoggerFile::ModeWrite);
        EXPECT_FALSE(file.Save(source, false));
        EXPECT_EQ(file.Error().toStdString(), s.why);
        EXPECT_EQ(ReadAll(path), before);
    }
    // The largest that fit.
    fixture::FillRecord(source, QStringLiteral("D2000000002"), 2, 9999);
    source.m_tsInterval = 99 * 60;
    EXPECT_TRUE(LayoutRefusal(source).isEmpty());
    EXPECT_EQ(QDir(dir.root()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("keep.tavo")});
}

TEST(LoggerFile, SaveReportsAFailedWriteAndKeepsTheEarlierFile)
{
    CLoggerRecord source;
    struct Case {
        int count;
        rlim_t limit;
    } const cases[] = {{400, 3000}, {20000, 100 * 1000}}; // 5796 and 280196 bytes
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        TempDir dir;
        const QString path = dir.path("big.tavo");
        fixture::FillRecord(source, QStringLiteral("UTH40000004"), 4, 10);
        ASSERT_TRUE(SaveRecord(source, path));
        const QByteArray before = ReadAll(path);
        fixture::FillRecord(source, QStringLiteral("UTH40000004"), 4, c.count);
        {
            FileSizeLimit limit(c.limit);
            EXPECT_FALSE(SaveRecord(source, path));
        }
        EXPECT_EQ(ReadAll(path), before);
        EXPECT_EQ(QDir(dir.root()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("big.tavo")});
        EXPECT_TRUE(SaveRecord(source, path));
        EXPECT_EQ(ReadAll(path).size(), 15 + 117 + 14 * c.count + 64);
    }
}

TEST(LoggerFile, SaveIntoAMissingFolderFails)
{
    CLoggerRecord source;
    TempDir dir;
    fixture::FillRecord(source, QStringLiteral("U1000000001"), 1, 4);
    CLoggerFile file(dir.path("no/such/folder/x.tavo"), CLoggerFile::ModeWrite);
    EXPECT_FALSE(file.IsOutputOpen());
    EXPECT_FALSE(file.Save(source, false));
    CLoggerFile reader(dir.path("missing.tavo"), CLoggerFile::ModeRead);
    EXPECT_FALSE(reader.IsInputOpen());
    EXPECT_FALSE(reader.Load(source, kDefaultDisplay));
}

TEST(LoggerFile, ClosingWithoutSavingKeepsTheTarget)
{
    TempDir dir;
    const QString path = dir.path("keep.tavo");
    ASSERT_TRUE(WriteAll(path, "old"));
    {
        CLoggerFile file(path, CLoggerFile::ModeWrite);
        ASSERT_TRUE(file.IsOutputOpen());
    }
    EXPECT_EQ(ReadAll(path), QByteArray("old"));
}

// A USB logger whose ID begins with DI has type 2 there, but readers take
// the type from the ID (6, the long layout): the file must follow the ID.
TEST(LoggerFile, LayoutFollowsTheTypeReadersDeriveFromTheId)
{
    CLoggerRecord source;
    CLoggerRecord loaded;
    TempDir dir;
    fixture::FillRecord(source, QStringLiteral("DI600000006"), 2, 3);
    ASSERT_TRUE(SaveRecord(source, dir.path("di.tavo")));
    EXPECT_EQ(ReadAll(dir.path("di.tavo")).size(), 15 + 82 + 21 + 64);
    ASSERT_TRUE(LoadPath(dir.path("di.tavo"), loaded));
    EXPECT_EQ(loaded.m_nType, 6);
    EXPECT_EQ(loaded.m_nCount, 3);
}

TEST(LoggerFile, AreaMarkerForcesPlainStatistics)
{
    CLoggerRecord source;
    CLoggerRecord loaded;
    TempDir dir;
    fixture::FillRecord(source, QStringLiteral("UT300000003"), 3, 100);
    source.m_strValue[ROW_DESCRIPTION] = QStringLiteral("vtqk shelf 3");
    for (const bool area : {false, true}) {
        SCOPED_TRACE(area ? "area" : "whole mission");
        ASSERT_TRUE(SaveRecord(source, dir.path("m.tavo"), area));
        const QByteArray file = ReadAll(dir.path("m.tavo"));
        EXPECT_EQ(file.right(4), area ? QByteArray("\x02\x00\x01\x07", 4) : QByteArray(4, '\0'));
        CLoggerFile reader(dir.path("m.tavo"), CLoggerFile::ModeRead);
        ASSERT_TRUE(reader.Load(loaded, kDefaultDisplay));
        EXPECT_EQ(reader.LoadedArea(), area);
        const CLoggerRecord& r = loaded;
        if (area) {
            EXPECT_FLOAT_EQ(r.m_fMax, r.m_fLoggerMax);
            EXPECT_FLOAT_EQ(r.m_fTempShown[99], r.m_fTemp[99]);
        } else {
            // The moving MKT of a ramp lies within the samples, not at the logger's extremes.
            EXPECT_NE(r.m_fMax, r.m_fLoggerMax);
            EXPECT_LT(r.m_fMax, -19.0f);
            EXPECT_NE(r.m_fTempShown[99], r.m_fTemp[99]);
        }
    }
}

TEST(LoggerFile, DescriptionsTravelInTheCodePage)
{
    CLoggerRecord source;
    CLoggerRecord loaded;
    TempDir dir;
    const QString path = dir.path("d.tavo");
    struct Case {
        QString written;
        QString read;
    } const cases[] = {
        {QStringLiteral("冷库二号 疫苗架B"), QStringLiteral("冷库二号 疫苗架B")},
        // 59 bytes at most, cut between characters: 29 of 40 two-byte characters.
        {QString(40, QChar(0x6E29)), QString(29, QChar(0x6E29))},
        {QString(70, QLatin1Char('x')), QString(59, QLatin1Char('x'))},
        {QString(), GetText(TypeTextId(4), 0)},
    };
    for (const Case& c : cases) {
        fixture::FillRecord(source, QStringLiteral("UTH40000004"), 4, 2);
        source.m_strValue[ROW_DESCRIPTION] = c.written;
        ASSERT_TRUE(SaveRecord(source, path));
        const QByteArray file = ReadAll(path);
        const QByteArray stored = file.mid(file.size() - 64, 60);
        EXPECT_EQ(stored.left(stored.indexOf('\0')), c.written.isEmpty() ? QByteArray() : ToOem(c.read));
        ASSERT_TRUE(LoadPath(path, loaded));
        EXPECT_EQ(loaded.m_strValue[ROW_DESCRIPTION], c.read);
    }
    // GBK bytes of the first character, as another implementation reads them.
    EXPECT_EQ(ToOem(QStringLiteral("冷")), QByteArray("\xC0\xE4"));
}

} // namespace
