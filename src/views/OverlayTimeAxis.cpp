#include "views/OverlayTimeAxis.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr time64 kMinute = 60, kHour = 3600, kDay = 86400;

// The smallest step that puts ticks at least minPixels apart.
time64 ElapsedStep(double spanSeconds, int columns, int minPixels)
{
    static constexpr time64 kSteps[] = {kMinute,     2 * kMinute, 5 * kMinute, 10 * kMinute, 15 * kMinute,
                                        30 * kMinute, kHour,      2 * kHour,   3 * kHour,    6 * kHour,
                                        12 * kHour,  kDay,        2 * kDay,    7 * kDay,     14 * kDay,
                                        28 * kDay,   56 * kDay,   91 * kDay,   182 * kDay,   364 * kDay};
    const double perPixel = columns > 0 ? spanSeconds / columns : spanSeconds;
    for (time64 step : kSteps)
        if (step >= perPixel * minPixels)
            return step;
    time64 step = kSteps[std::size(kSteps) - 1];
    while (step < perPixel * minPixels)
        step *= 2;
    return step;
}

QString ElapsedText(time64 t, time64 step)
{
    const time64 days = t / kDay, rest = t % kDay;
    if (step % kDay == 0)
        return QStringLiteral("+%1 d").arg(days);
    const QString clock = QString::asprintf("%.2d:%.2d", static_cast<int>(rest / kHour),
                                            static_cast<int>(rest % kHour / kMinute));
    return days > 0 ? clock + QStringLiteral("\n+%1 d").arg(days) : clock;
}

// The widest line of a label.
int LabelWidth(const QString& text, const TextWidth& width)
{
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, width(line));
    return widest;
}

std::vector<OverlayTick> ElapsedTicks(const AxisSpan& view, int columns, const TextWidth& width, int minPixels)
{
    std::vector<OverlayTick> ticks;
    const time64 step = ElapsedStep(view.Length(), columns, minPixels);
    const double perSecond = columns / view.Length();
    for (time64 t = static_cast<time64>(std::ceil(view.from / static_cast<double>(step))) * step; t <= view.to;
         t += step) {
        const int column = static_cast<int>((static_cast<double>(t) - view.from) * perSecond);
        const QString text = ElapsedText(t, step);
        const int w = LabelWidth(text, width);
        ticks.push_back({column, text, column - w / 2, w});
    }
    return ticks;
}

std::vector<OverlayTick> ClockTicks(const AxisSpan& view, int columns, const TextWidth& width, int gap)
{
    const TimeSpan span{static_cast<time64>(std::llround(view.from)), static_cast<time64>(std::llround(view.to)),
                        columns};
    std::vector<OverlayTick> ticks;
    for (const TimeTick& tick : ChooseTimeTicks(span, width, gap).ticks)
        ticks.push_back({tick.column, tick.text, tick.left, tick.right - tick.left});
    return ticks;
}

} // namespace

std::vector<OverlayTick> OverlayTimeTicks(const AxisSpan& view, OverlayTime mode, int columns,
                                          const TextWidth& width, int minPixels)
{
    if (columns < 2 || view.Length() <= 0)
        return {};
    if (mode == OverlayTime::Clock)
        return ClockTicks(view, columns, width, width(QStringLiteral("0")));
    return ElapsedTicks(view, columns, width, minPixels);
}
