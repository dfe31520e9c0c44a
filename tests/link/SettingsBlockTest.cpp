#include "link/SettingsBlock.h"
#include "link/usb/SettingsFrame.h"
#include "link/usb/UsbEncoding.h"
#include "support/ScopedTz.h"
#include "workflow/MissionEntry.h"

#include <QByteArray>
#include <gtest/gtest.h>
#include <limits>

namespace {

constexpr time64 kNow = 1700000000; // 2023-11-14 22:13:20 UTC

QByteArray Hex(const std::uint8_t* bytes, int from, int count)
{
    return QByteArray(reinterpret_cast<const char*>(bytes) + from, count).toHex(' ').toUpper();
}

QByteArray Hex(const SettingsBlock& b, int from, int count)
{
    return Hex(b.bytes.data(), from, count);
}

MissionSettings Settings()
{
    MissionSettings s;
    s.id = QStringLiteral("UTH50040004");
    s.now = kNow;
    s.start = kNow + 3600; // 23:13:20
    s.intervalMinutes = 90;
    s.highTemp = -550;
    s.lowTemp = -2000;
    s.humiHigh = 7550;
    s.humiLow = 2000;
    return s;
}

constexpr const char* kStart = "14 0D 17 0E 0B 17 14";
constexpr const char* kNowGroup = "14 0D 16 0E 0B 17 14";

// One row per layout: where each field lies and how it is written.
struct Layout {
    int type;
    SettingsLink link;
    int length;
    int idAt, idLength, startAt, nowAt, intervalAt;
    const char* interval;
    int limitsAt;
    const char* limits; // upper, lower temperature (then upper, lower humidity)
};

TEST(SettingsBlockTest, LayoutsPerTypeAndLink)
{
    ScopedTz tz("UTC");
    const Layout layouts[] = {
        {1, SettingsLink::Usb, 40, 7, 11, 18, 31, 25, "00 5A", 27, "82 26 87 D0"},
        {3, SettingsLink::Usb, 40, 7, 11, 18, 25, 32, "00 5A", 34, "FD DA F8 30 1D 7E 07 D0"},
        {4, SettingsLink::Usb, 42, 7, 11, 18, 25, 32, "00 5A", 34, "FD DA F8 30 1D 7E 07 D0"},
        {6, SettingsLink::Usb, 40, 7, 11, 18, 25, 32, "00 5A", 34, "FD DA F8 30 1D 7E 07 D0"},
        {3, SettingsLink::Serial, 35, 7, 4, 11, 18, 25, "5A 00", 27, "DA FD 30 F8 7E 1D D0 07"},
        {4, SettingsLink::Serial, 35, 7, 4, 11, 18, 25, "5A 00", 27, "DA FD 30 F8 7E 1D D0 07"},
        {6, SettingsLink::Serial, 35, 7, 4, 11, 18, 25, "5A 00", 27, "DA FD 30 F8 7E 1D D0 07"},
    };
    const MissionSettings s = Settings();
    for (const Layout& l : layouts) {
        SCOPED_TRACE(testing::Message() << "type " << l.type << (l.link == SettingsLink::Usb ? " USB" : " serial"));
        const SettingsBlock b = BuildSettingsBlock(l.type, l.link, s);
        EXPECT_EQ(b.length, l.length);
        EXPECT_EQ(Hex(b, 0, 7), "00 00 00 00 00 00 00");
        EXPECT_EQ(Hex(b, l.idAt, l.idLength), s.id.left(l.idLength).toLatin1().toHex(' ').toUpper());
        EXPECT_EQ(Hex(b, l.startAt, 7), kStart);
        EXPECT_EQ(Hex(b, l.nowAt, 7), kNowGroup);
        EXPECT_EQ(Hex(b, l.intervalAt, 2), l.interval);
        const QByteArray limits(l.limits);
        EXPECT_EQ(Hex(b, l.limitsAt, static_cast<int>((limits.size() + 1) / 3)), limits);
    }
}

TEST(SettingsBlockTest, TypesWithoutSettingsOnALinkGetNone)
{
    const MissionSettings s = Settings();
    for (int type : {0, 2, 5})
        EXPECT_EQ(BuildSettingsBlock(type, SettingsLink::Usb, s).length, 0) << type;
    for (int type : {0, 1, 2, 5})
        EXPECT_EQ(BuildSettingsBlock(type, SettingsLink::Serial, s).length, 0) << type;
}

TEST(SettingsBlockTest, EdgeCases)
{
    ScopedTz tz("UTC");
    MissionSettings s = Settings();
    // 77 / 32 F entered become 2500 / 0; the type 3 humidity fields stay 0.
    s.highTemp = 2500;
    s.lowTemp = 0;
    s.humiHigh = s.humiLow = 0;
    SettingsBlock b = BuildSettingsBlock(3, SettingsLink::Usb, s);
    EXPECT_EQ(Hex(b, 34, 8), "09 C4 00 00 00 00 00 00");
    // A start in the past is now, in both time groups, on every layout.
    s.start = kNow - 7200;
    b = BuildSettingsBlock(1, SettingsLink::Usb, s);
    EXPECT_EQ(Hex(b, 18, 7), kNowGroup);
    EXPECT_EQ(Hex(b, 31, 7), kNowGroup);
    b = BuildSettingsBlock(4, SettingsLink::Serial, s);
    EXPECT_EQ(Hex(b, 11, 7), kNowGroup);
    EXPECT_EQ(Hex(b, 18, 7), kNowGroup);
    // The largest limits both encodings hold.
    s.highTemp = 32767;
    s.lowTemp = -32767;
    b = BuildSettingsBlock(1, SettingsLink::Usb, s);
    EXPECT_EQ(Hex(b, 27, 4), "7F FF FF FF");
    b = BuildSettingsBlock(4, SettingsLink::Usb, s);
    EXPECT_EQ(Hex(b, 34, 4), "7F FF 80 01");
}

TEST(SettingsBlockTest, TimeGroupsFollowTheLocalZone)
{
    ScopedTz tz("Europe/Berlin");
    MissionSettings s = Settings();
    s.now = 1690000000; // 2023-07-22 06:26:40 summer time
    s.start = s.now;
    const SettingsBlock b = BuildSettingsBlock(4, SettingsLink::Usb, s);
    EXPECT_EQ(Hex(b, 18, 7), "28 1A 06 16 07 17 14");
    const std::uint8_t six[6] = {0x1A, 0x06, 0x16, 0x07, 0x17, 0x14};
    EXPECT_EQ(usbcode::DecodeTime6(six), std::optional<time64>(1690000000 - 40));
}

TEST(SettingsBlockTest, TimeThatLocalTimeCannotMakeIsSentAsUnknown)
{
    std::uint8_t out[7];
    usbcode::EncodeTime7(std::numeric_limits<time64>::max(), out);
    EXPECT_EQ(Hex(out, 0, 7), "FF FF FF 00 00 00 00");
}

// Limits as a user enters them, through the entry check, into the block's
// limit bytes of both USB encodings.
TEST(SettingsBlockTest, EnteredLimitsReachTheBlockRounded)
{
    struct Case {
        const char *low, *high;
        bool fahrenheit;
        const char* type1; // sign-magnitude: upper, lower
        const char* type3; // two's complement: upper, lower
    } cases[] = {
        {"14", "46.4", true, "03 20 83 E8", "03 20 FC 18"}, // -10.00 / 8.00 C
        {"-4", "31.99", true, "80 01 87 D0", "FF FF F8 30"}, // -20.00 / -0.01 C
        {"-2.006", "-2.004", false, "80 C8 80 C9", "FF 38 FF 37"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.low << " .. " << c.high);
        MissionEntry e{QStringLiteral("UT312345678"), kNow, kNow, 90, c.low, c.high, {}, {}, c.fahrenheit};
        const MissionCheck check = CheckMissionEntry(3, e, QStringLiteral("wrong"));
        ASSERT_TRUE(check.ok) << check.error.toStdString();
        EXPECT_EQ(Hex(BuildSettingsBlock(1, SettingsLink::Usb, check.settings), 27, 4), c.type1);
        EXPECT_EQ(Hex(BuildSettingsBlock(3, SettingsLink::Usb, check.settings), 34, 4), c.type3);
    }
}

TEST(SettingsBlockTest, LimitsInTheWrongOrderAreRefusedHumidityOnlyWhereTheTypeHasIt)
{
    const QString wrong = QStringLiteral("Alarm set wrong!");
    MissionEntry e{QStringLiteral("UTH12345678"), kNow, kNow, 90, "-2", "-3", "20", "75.5", false};
    EXPECT_EQ(CheckMissionEntry(3, e, wrong).error, wrong);
    e.highTemp = "-2"; // equal limits are allowed
    EXPECT_TRUE(CheckMissionEntry(3, e, wrong).ok);
    e.highHumi = "19.99";
    EXPECT_EQ(CheckMissionEntry(4, e, wrong).error, wrong);
    const MissionCheck type3 = CheckMissionEntry(3, e, wrong); // no humidity on type 3
    ASSERT_TRUE(type3.ok);
    EXPECT_EQ(Hex(BuildSettingsBlock(3, SettingsLink::Usb, type3.settings), 38, 4), "00 00 00 00");
}

TEST(SettingsBlockTest, ClockFrameRateCodes)
{
    ScopedTz tz("UTC");
    struct Case { const char* id; int rate; } cases[] = {
        {"D2512345678", 5}, {"U5012345678", 10}, {"i9912345678", 20}, {"D1012345678", 0}, {"D2", 0},
    };
    for (const auto& c : cases) {
        UsbFrame f;
        EXPECT_EQ(BuildClockFrame(c.id, kNow, f), c.rate != 0) << c.id;
        if (!c.rate)
            continue;
        EXPECT_EQ(f.length, 26);
        EXPECT_EQ(Hex(f.bytes.data(), 0, 7), "C5 BA 51 17 00 00 00");
        EXPECT_EQ(Hex(f.bytes.data(), 7, 11), QByteArray(c.id).toHex(' ').toUpper());
        EXPECT_EQ(Hex(f.bytes.data(), 18, 7), kNowGroup);
        EXPECT_EQ(f.bytes[25], c.rate) << c.id;
    }
}

} // namespace
