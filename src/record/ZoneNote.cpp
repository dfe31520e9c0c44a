#include "record/ZoneNote.h"

#include <QTimeZone>
#include <cstdlib>
#include <ctime>

namespace {

long OffsetAt(time64 t)
{
    const std::time_t tt = static_cast<std::time_t>(t);
    std::tm tm{};
    return localtime_r(&tt, &tm) ? tm.tm_gmtoff : 0;
}

// The first second after `from` whose offset differs from the one at from,
// when there is one up to `to`.
bool NextChange(time64 from, time64 to, time64& change)
{
    constexpr time64 kStep = 3600; // zones change their offset at most once within an hour
    const long offset = OffsetAt(from);
    for (time64 t = from; t < to;) {
        const time64 next = std::min(t + kStep, to);
        if (OffsetAt(next) != offset) {
            time64 low = t, high = next; // offset at low as at from, at high not
            while (high - low > 1) {
                const time64 mid = low + (high - low) / 2;
                (OffsetAt(mid) == offset ? low : high) = mid;
            }
            change = high;
            return true;
        }
        t = next;
    }
    return false;
}

QString WallClock(time64 utc, long offset)
{
    const std::time_t tt = static_cast<std::time_t>(utc + offset);
    std::tm tm{};
    gmtime_r(&tt, &tm);
    return QString::asprintf("%04d-%02d-%02d %02d:%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min);
}

} // namespace

QString UtcOffsetText(long offsetSeconds)
{
    const long minutes = std::labs(offsetSeconds) / 60;
    return QString::asprintf("UTC%c%02ld:%02ld", offsetSeconds < 0 ? '-' : '+', minutes / 60, minutes % 60);
}

QString LocalZoneName()
{
    const QByteArray tz = qgetenv("TZ");
    if (!tz.isEmpty()) {
        const QByteArray name = tz.startsWith(':') ? tz.mid(1) : tz;
        return QTimeZone::isTimeZoneIdAvailable(name) ? QString::fromLatin1(name) : QString();
    }
    return QString::fromLatin1(QTimeZone::systemTimeZoneId());
}

QString ZoneNote(time64 start, time64 stop)
{
    long offset = OffsetAt(start);
    QString note = QStringLiteral("Times in ") + UtcOffsetText(offset);
    if (const QString name = LocalZoneName(); !name.isEmpty())
        note += QStringLiteral(" (%1)").arg(name);
    time64 change = 0;
    for (time64 from = start; stop > from && NextChange(from, stop, change); from = change) {
        const long next = OffsetAt(change);
        note += QStringLiteral(", changes to %1 on %2").arg(UtcOffsetText(next), WallClock(change, offset));
        offset = next;
    }
    return note;
}
