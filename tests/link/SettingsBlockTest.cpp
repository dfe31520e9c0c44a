#include "link/SettingsBlock.h"
#include "support/ScopedTz.h"

#include <QByteArray>
#include <gtest/gtest.h>

namespace {

constexpr time64 kNow = 1700000000; // 2023-11-14 22:13:20 UTC

QByteArray Hex(const SettingsBlock& b, int from, int count)
{
    return QByteArray(reinterpret_cast<const char*>(b.bytes.data()) + from, count).toHex(' ').toUpper();
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
}

} // namespace
