#include "record/TimeTicks.h"

#include "record/TimeText.h"

namespace {

constexpr TimeStep kSteps[] = {
    {TimeUnit::Minute, 1}, {TimeUnit::Minute, 2}, {TimeUnit::Minute, 5}, {TimeUnit::Minute, 10},
    {TimeUnit::Minute, 15}, {TimeUnit::Minute, 30}, {TimeUnit::Hour, 1}, {TimeUnit::Hour, 2},
    {TimeUnit::Hour, 3}, {TimeUnit::Hour, 6}, {TimeUnit::Hour, 12}, {TimeUnit::Day, 1},
    {TimeUnit::Day, 2}, {TimeUnit::Day, 7}, {TimeUnit::Day, 14}, {TimeUnit::Month, 1},
    {TimeUnit::Month, 2}, {TimeUnit::Month, 3}, {TimeUnit::Month, 6}, {TimeUnit::Year, 1},
    {TimeUnit::Year, 2}, {TimeUnit::Year, 5}, {TimeUnit::Year, 10}, {TimeUnit::Year, 20},
    {TimeUnit::Year, 50}, {TimeUnit::Year, 100}, {TimeUnit::Year, 200}, {TimeUnit::Year, 500},
};

// Typical length of a step, for the first guess at how many ticks it makes.
long long TypicalSeconds(TimeStep step)
{
    switch (step.unit) {
    case TimeUnit::Minute: return 60LL * step.count;
    case TimeUnit::Hour: return 3600LL * step.count;
    case TimeUnit::Day: return 86400LL * step.count;
    case TimeUnit::Month: return 2629746LL * step.count;
    case TimeUnit::Year: return 31556952LL * step.count;
    }
    return 60;
}

// Days since 1970-01-01 of a civil date (proleptic Gregorian calendar).
long long DaysFromCivil(long long y, int m, int d)
{
    y -= m <= 2 ? 1 : 0;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153LL * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

LocalTm CivilFromDays(long long z)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0)), m, d, 0, 0, 0};
}

bool AtMidnight(const LocalTm& l) { return l.hour == 0 && l.minute == 0 && l.second == 0; }

// --- Minute and hour steps: every step divides a day ---

int MinuteOfDay(const LocalTm& l) { return l.hour * 60 + l.minute; }

bool OnStep(time64 t, int minutes)
{
    const LocalTm l = ToLocal(t);
    return l.second == 0 && MinuteOfDay(l) % minutes == 0;
}

// The first local time at or after t on a multiple of `minutes` of its day.
time64 AlignUp(time64 t, int minutes)
{
    const LocalTm l = ToLocal(t);
    const int m = MinuteOfDay(l) + (l.second > 0 ? 1 : 0);
    const int aligned = (m + minutes - 1) / minutes * minutes;
    return MakeLocalTime(l.year, l.month, l.day, 0, aligned); // mktime carries into the next day
}

std::vector<time64> TimesOfDayWithin(time64 from, time64 to, int minutes, int limit)
{
    std::vector<time64> times;
    const time64 stride = 60LL * minutes;
    time64 t = AlignUp(from, minutes);
    if (t < from) // an hour that repeats when the clocks go back
        t = AlignUp(t + stride, minutes);
    while (t <= to && static_cast<int>(times.size()) < limit) {
        if (t >= from && OnStep(t, minutes))
            times.push_back(t);
        time64 next = t + stride;
        if (!OnStep(next, minutes)) {
            // The clocks changed between t and next: back onto the step.
            const time64 aligned = AlignUp(next, minutes);
            next = aligned > t ? aligned : next;
        }
        t = next;
    }
    return times;
}

// --- Day, month and year steps: local midnights ---

time64 MidnightOf(const LocalTm& date) { return MakeLocalTime(date.year, date.month, date.day, 0, 0); }

// Days since 1970-01-01 of the first local midnight at or after t.
long long FirstDayFrom(time64 t)
{
    const LocalTm l = ToLocal(t);
    const long long day = DaysFromCivil(l.year, l.month, l.day);
    return AtMidnight(l) ? day : day + 1;
}

std::vector<time64> DaysWithin(time64 from, time64 to, int count, int limit)
{
    // Weeks start on Mondays (1970-01-01 was a Thursday); other steps count
    // days from 1970-01-01.
    const long long shift = count % 7 == 0 ? 3 : 0;
    long long day = FirstDayFrom(from);
    const long long rest = ((day + shift) % count + count) % count;
    day += rest == 0 ? 0 : count - rest;
    std::vector<time64> times;
    for (; static_cast<int>(times.size()) < limit; day += count) {
        const time64 t = MidnightOf(CivilFromDays(day));
        if (t > to)
            break;
        if (t >= from)
            times.push_back(t);
    }
    return times;
}

// Months since year 0 of the first first-of-month at or after t.
long long FirstMonthFrom(time64 t)
{
    const LocalTm l = ToLocal(t);
    const long long month = 12LL * l.year + (l.month - 1);
    return l.day == 1 && AtMidnight(l) ? month : month + 1;
}

std::vector<time64> MonthsWithin(time64 from, time64 to, int months, int limit)
{
    long long month = FirstMonthFrom(from);
    const long long rest = month % months;
    month += rest == 0 ? 0 : months - rest;
    std::vector<time64> times;
    for (; static_cast<int>(times.size()) < limit; month += months) {
        const time64 t = MakeLocalTime(static_cast<int>(month / 12), static_cast<int>(month % 12) + 1, 1, 0, 0);
        if (t > to)
            break;
        if (t >= from)
            times.push_back(t);
    }
    return times;
}

// --- Labels ---

QString DateText(const LocalTm& l) { return QString::asprintf("%d-%d-%d", l.year, l.month, l.day); }

// Centres the label on its tick, inside the plot; a label wider than the
// plot is left out.
void PlaceLabel(TimeTick& tick, const TextWidth& width, int columns)
{
    const int w = width(tick.text);
    if (w > columns) {
        tick.text.clear();
        tick.left = tick.right = tick.column;
        return;
    }
    tick.left = tick.column - w / 2;
    if (tick.left + w > columns)
        tick.left = columns - w;
    if (tick.left < 0)
        tick.left = 0;
    tick.right = tick.left + w;
}

// The ticks of one step with their labels; the first label is not yet
// given its date, so that the step is chosen by the labels that repeat.
std::vector<TimeTick> LabelledTicks(const TimeSpan& span, TimeStep step, const TextWidth& width,
                                    const TimeLabelText& label, int limit)
{
    std::vector<TimeTick> ticks;
    int previousDay = -1;
    for (const time64 t : RoundTimes(span.from, span.to, step, limit)) {
        const LocalTm l = ToLocal(t);
        const int day = l.year * 400 + l.month * 32 + l.day;
        TimeTick tick;
        tick.time = t;
        tick.column = span.ColumnOf(t);
        tick.date = !ticks.empty() && day != previousDay;
        tick.text = label(l, step.unit, tick.date);
        PlaceLabel(tick, width, span.columns);
        ticks.push_back(tick);
        previousDay = day;
    }
    return ticks;
}

bool LabelsApart(const std::vector<TimeTick>& ticks, int gap)
{
    for (std::size_t i = 1; i < ticks.size(); ++i)
        if (ticks[i].left < ticks[i - 1].right + gap)
            return false;
    return true;
}

// The first label shows the date; labels it reaches over lose their text,
// unless one of them is a new day's date: then the first label keeps its
// time, and that date tells the day. True when the first label shows its
// date (or there is none).
bool DateTheFirstLabel(std::vector<TimeTick>& ticks, TimeUnit unit, const TextWidth& width, const TimeLabelText& label,
                       int columns, int gap)
{
    if (ticks.empty())
        return true;
    TimeTick dated = ticks.front();
    dated.date = true;
    dated.text = label(ToLocal(dated.time), unit, true);
    PlaceLabel(dated, width, columns);
    if (dated.text.isEmpty())
        return false;
    std::size_t covered = 1;
    while (covered < ticks.size() && ticks[covered].left < dated.right + gap) {
        if (ticks[covered].date)
            return false;
        ++covered;
    }
    ticks.front() = dated;
    for (std::size_t i = 1; i < covered; ++i) {
        ticks[i].text.clear();
        ticks[i].left = ticks[i].right = ticks[i].column;
    }
    return true;
}

} // namespace

QString GraphTimeLabel(const LocalTm& l, TimeUnit unit, bool date)
{
    switch (unit) {
    case TimeUnit::Year: return QString::number(l.year);
    case TimeUnit::Month: return QString::asprintf("%d-%d", l.year, l.month);
    case TimeUnit::Day: return DateText(l);
    default: break;
    }
    if (!date)
        return QString::asprintf("%.2d:%.2d", l.hour, l.minute);
    return AtMidnight(l) ? DateText(l) : QString::asprintf("%d-%d-%d %.2d:%.2d", l.year, l.month, l.day, l.hour, l.minute);
}

int TimeSpan::ColumnOf(time64 t) const
{
    if (IsEmpty())
        return 0;
    const long long offset = t - from;
    const long long scaled = offset * (columns - 1);
    const long long length = to - from;
    const long long rounded = offset >= 0 ? (2 * scaled + length) / (2 * length) : -((-2 * scaled + length) / (2 * length));
    return static_cast<int>(rounded);
}

std::vector<time64> RoundTimes(time64 from, time64 to, TimeStep step, int limit)
{
    if (to < from || limit < 1 || step.count < 1)
        return {};
    switch (step.unit) {
    case TimeUnit::Minute: return TimesOfDayWithin(from, to, step.count, limit);
    case TimeUnit::Hour: return TimesOfDayWithin(from, to, 60 * step.count, limit);
    case TimeUnit::Day: return DaysWithin(from, to, step.count, limit);
    case TimeUnit::Month: return MonthsWithin(from, to, step.count, limit);
    case TimeUnit::Year: return MonthsWithin(from, to, 12 * step.count, limit);
    }
    return {};
}

TimeAxisTicks ChooseTimeTicks(const TimeSpan& span, const TextWidth& width, int gap, const TimeLabelText& label,
                              FirstLabel first)
{
    TimeAxisTicks axis;
    if (span.IsEmpty())
        return axis;
    // No label is narrower than "00:00": steps whose ticks lie closer than
    // that are not tried.
    const long long narrowest = width(QStringLiteral("00:00")) + gap;
    const long long length = span.to - span.from;
    for (const TimeStep step : kSteps) {
        if (TypicalSeconds(step) * (span.columns - 1) < narrowest * length)
            continue;
        // Room for every tick that can fit, and one more to show a crowding.
        const int limit = static_cast<int>(span.columns / (narrowest > 0 ? narrowest : 1)) + 2;
        std::vector<TimeTick> ticks = LabelledTicks(span, step, width, label, limit);
        if (static_cast<int>(ticks.size()) >= limit || !LabelsApart(ticks, gap))
            continue;
        if (!DateTheFirstLabel(ticks, step.unit, width, label, span.columns, gap) && first == FirstLabel::Dated)
            continue;
        axis.step = step;
        axis.ticks = std::move(ticks);
        return axis;
    }
    return axis;
}
