#include "workflow/MissionEntry.h"

#include "record/LimitEntry.h"
#include "record/LoggerType.h"

namespace {

constexpr int kMaxByteInterval = 255;

QString IntervalText(int minutes)
{
    return QString::asprintf("%02d:%02d", minutes / 60, minutes % 60);
}

} // namespace

MissionCheck CheckMissionEntry(int type, const MissionEntry& e, const QString& wrongOrder)
{
    MissionCheck check;
    const LoggerType& row = LoggerTypeOf(type);
    if (e.intervalMinutes < 1) {
        check.error = QStringLiteral("The sample interval must be at least 00:01.");
        return check;
    }
    if (row.clockWithInterval && e.intervalMinutes > kMaxByteInterval) {
        check.error = QStringLiteral("This logger takes a sample interval of at most %1, not %2.")
                          .arg(IntervalText(kMaxByteInterval), IntervalText(e.intervalMinutes));
        return check;
    }
    const LimitPair temp = ReadLimitPair(e.lowTemp, e.highTemp, e.fahrenheit, QStringLiteral("temperature"), wrongOrder);
    if (!temp.ok) {
        check.error = temp.error;
        if (temp.reversed)
            check.reversed = LimitQuantity::Temperature;
        return check;
    }
    LimitPair humi{true, 0, 0, {}};
    if (row.humidity)
        humi = ReadLimitPair(e.lowHumi, e.highHumi, false, QStringLiteral("humidity"), wrongOrder);
    if (!humi.ok) {
        check.error = humi.error;
        if (humi.reversed)
            check.reversed = LimitQuantity::Humidity;
        return check;
    }
    MissionSettings& s = check.settings;
    s.id = e.id;
    s.start = e.start;
    s.now = e.now;
    s.intervalMinutes = e.intervalMinutes;
    s.lowTemp = temp.low;
    s.highTemp = temp.high;
    s.humiLow = humi.low;
    s.humiHigh = humi.high;
    check.ok = true;
    return check;
}
