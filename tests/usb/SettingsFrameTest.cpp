#include "UsbFixture.h"

#include "link/usb/UsbEncoding.h"

namespace {

QByteArray Bytes(const UsbFrame& f, int from, int count)
{
    return QByteArray(reinterpret_cast<const char*>(f.bytes.data()) + from, count).toHex(' ').toUpper();
}

class SettingsFrameTest : public ::testing::Test {
protected:
    ScopedTz tz{"UTC"};
    UsbSettings s = [] {
        UsbSettings v;
        v.id = "UT312345678";
        v.now = 1700000000;   // 2023-11-14 22:13:20
        v.start = 1700003600; // an hour later
        v.intervalMinutes = 90;
        v.highTemp = 8.0;
        v.lowTemp = -2.0;
        v.humiHigh = 75.5;
        v.humiLow = 20.0;
        return v;
    }();
    UsbFrame f;
};

TEST_F(SettingsFrameTest, Type1Layout)
{
    s.id = "U0112345678";
    ASSERT_EQ(BuildSettingsFrame(1, s, f), SettingsFrameResult::Ok);
    EXPECT_EQ(f.length, 40);
    EXPECT_EQ(Bytes(f, 0, 7), "C5 BA 51 17 00 00 00");
    EXPECT_EQ(Bytes(f, 7, 11), QByteArray("U0112345678").toHex(' ').toUpper());
    EXPECT_EQ(Bytes(f, 18, 7), "14 0D 17 0E 0B 17 14"); // 23:13:20 on 2023-11-14
    EXPECT_EQ(Bytes(f, 25, 2), "00 5A");
    EXPECT_EQ(Bytes(f, 27, 4), "03 20 80 C8");          // signed magnitude
    EXPECT_EQ(Bytes(f, 31, 7), "14 0D 16 0E 0B 17 14"); // now
    EXPECT_EQ(Bytes(f, 38, 2), "00 00");
}

TEST_F(SettingsFrameTest, Type3And4Layout)
{
    for (int type : {3, 6, 4}) {
        ASSERT_EQ(BuildSettingsFrame(type, s, f), SettingsFrameResult::Ok);
        EXPECT_EQ(f.length, type == 4 ? 42 : 40);
        EXPECT_EQ(Bytes(f, 18, 7), "14 0D 17 0E 0B 17 14");
        EXPECT_EQ(Bytes(f, 25, 7), "14 0D 16 0E 0B 17 14");
        EXPECT_EQ(Bytes(f, 32, 2), "00 5A");
        EXPECT_EQ(Bytes(f, 34, 4), "03 20 FF 38"); // two's complement
        EXPECT_EQ(Bytes(f, 38, 2), type == 4 ? "1D 7E" : "00 00");
        if (type == 4) {
            EXPECT_EQ(Bytes(f, 40, 2), "07 D0");
        }
    }
}

TEST_F(SettingsFrameTest, StartInThePastBecomesNow)
{
    s.start = s.now - 3600;
    ASSERT_EQ(BuildSettingsFrame(3, s, f), SettingsFrameResult::Ok);
    EXPECT_EQ(Bytes(f, 18, 7), Bytes(f, 25, 7));
}

TEST_F(SettingsFrameTest, FahrenheitLimitsRoundToTheNearestHundredth)
{
    struct Case { double entered; bool fahrenheit; int hundredths; } cases[] = {
        {50.0, true, 1000}, {46.4, true, 800}, {-4.0, true, -2000}, {31.99, true, -1}, {8.2, false, 820},
        {8.0, false, 800}, {-2.004, false, -200}, {-2.006, false, -201}, {1e9, false, 32767}, {-1e9, false, -32768},
    };
    for (const auto& c : cases)
        EXPECT_EQ(usbcode::TempLimitHundredths(c.entered, c.fahrenheit), c.hundredths) << c.entered;
    s.fahrenheit = true;
    s.highTemp = 46.4;
    s.lowTemp = 14.0; // -10.00 C
    ASSERT_EQ(BuildSettingsFrame(3, s, f), SettingsFrameResult::Ok);
    EXPECT_EQ(Bytes(f, 34, 4), "03 20 FC 18");
    ASSERT_EQ(BuildSettingsFrame(1, s, f), SettingsFrameResult::Ok);
    EXPECT_EQ(Bytes(f, 27, 4), "03 20 83 E8");
}

TEST_F(SettingsFrameTest, WrongLimitsAndTypesSendNothing)
{
    s.highTemp = -3.0;
    EXPECT_EQ(BuildSettingsFrame(3, s, f), SettingsFrameResult::LimitsWrong);
    s.highTemp = -2.0; // equal limits are allowed
    EXPECT_EQ(BuildSettingsFrame(3, s, f), SettingsFrameResult::Ok);
    s.humiHigh = 19.99;
    EXPECT_EQ(BuildSettingsFrame(4, s, f), SettingsFrameResult::LimitsWrong);
    EXPECT_EQ(BuildSettingsFrame(3, s, f), SettingsFrameResult::Ok); // no humidity on type 3
    for (int type : {0, 2, 5})
        EXPECT_EQ(BuildSettingsFrame(type, s, f), SettingsFrameResult::NoSettings);
}

TEST_F(SettingsFrameTest, ClockFrameRateCodes)
{
    struct Case { const char* id; int rate; } cases[] = {
        {"D2512345678", 5}, {"U5012345678", 10}, {"i9912345678", 20}, {"D1012345678", 0}, {"D2", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BuildClockFrame(c.id, s.now, f), c.rate != 0) << c.id;
        if (!c.rate)
            continue;
        EXPECT_EQ(f.length, 26);
        EXPECT_EQ(Bytes(f, 0, 7), "C5 BA 51 17 00 00 00");
        EXPECT_EQ(Bytes(f, 18, 7), "14 0D 16 0E 0B 17 14");
        EXPECT_EQ(f.bytes[25], c.rate) << c.id;
    }
}

TEST_F(SettingsFrameTest, TimeThatLocalTimeCannotMakeIsSentAsUnknown)
{
    std::uint8_t out[7];
    usbcode::EncodeTime7(std::numeric_limits<time64>::max(), out);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(out), 7).toHex(' ').toUpper(), "FF FF FF 00 00 00 00");
}

TEST_F(SettingsFrameTest, TimesFollowTheLocalZoneWithDaylightSaving)
{
    ScopedTz berlin("Europe/Berlin");
    std::uint8_t out[7];
    usbcode::EncodeTime7(1690000000, out); // 2023-07-22 04:26:40 UTC, summer time
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(out), 7).toHex(' ').toUpper(), "28 1A 06 16 07 17 14");
    const std::uint8_t six[6] = {0x1A, 0x06, 0x16, 0x07, 0x17, 0x14};
    EXPECT_EQ(usbcode::DecodeTime6(six), std::optional<time64>(1690000000 - 40));
}

} // namespace
