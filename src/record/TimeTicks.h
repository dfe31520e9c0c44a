#pragma once

#include "record/LoggerRecord.h"
#include "record/TimeText.h"

#include <QString>
#include <functional>
#include <vector>

// Round local times for a time axis: the step is chosen from the visible
// span, the plot width and the width of the labels, so no two labels
// overlap.

enum class TimeUnit { Minute, Hour, Day, Month, Year };

struct TimeStep {
    TimeUnit unit = TimeUnit::Minute;
    int count = 1;
    bool operator==(const TimeStep&) const = default;
};

// Times from .. to spread over pixel columns 0 .. columns - 1.
struct TimeSpan {
    time64 from = 0;
    time64 to = 0;
    int columns = 0;

    bool IsEmpty() const { return to <= from || columns < 2; }
    // The column of a time, rounded; outside 0 .. columns - 1 for times
    // outside the span.
    int ColumnOf(time64 t) const;
};

struct TimeTick {
    time64 time = 0;
    int column = 0;
    bool date = false; // the label shows the date: the first label, or the first of a new day
    QString text;      // empty: the tick is marked but not labelled
    int left = 0;      // label extent in columns, [left, right)
    int right = 0;
};

struct TimeAxisTicks {
    TimeStep step;
    std::vector<TimeTick> ticks;
};

using TextWidth = std::function<int(const QString&)>;

// The text of the label of a tick at local time l on a step of unit; date:
// the label shows the date (the first label, the first of a new day).
using TimeLabelText = std::function<QString(const LocalTm& l, TimeUnit unit, bool date)>;

// The graph's labels: "HH:mm"; dated, "2026-6-15 08:00", or "2026-6-16" at
// midnight; day steps "2026-6-15", months "2026-6", years "2026".
QString GraphTimeLabel(const LocalTm& l, TimeUnit unit, bool date);

// The ticks of the smallest step (1, 2, 5, 10, 15, 30 minutes; 1, 2, 3, 6,
// 12 hours; 1, 2, 7, 14 days; 1, 2, 3, 6 months; 1, 2, 5 ... years) whose
// labels, each centred on its tick and kept inside the plot, leave at least
// `gap` pixels between neighbours. The texts are those of `label`; the first
// label and the first label of each new day are the dated ones. A dated
// first label hides the texts of the labels it reaches over; where one of
// those is a new day's date, the first label keeps its time instead
// (FirstLabel::MayKeepTime), or the step is passed over for a longer one
// (FirstLabel::Dated: the first label always shows its date).
enum class FirstLabel { MayKeepTime, Dated };
TimeAxisTicks ChooseTimeTicks(const TimeSpan& span, const TextWidth& width, int gap,
                              const TimeLabelText& label = GraphTimeLabel, FirstLabel first = FirstLabel::MayKeepTime);

// The round local times of one step from `from` to `to`, at most `limit`.
std::vector<time64> RoundTimes(time64 from, time64 to, TimeStep step, int limit);
