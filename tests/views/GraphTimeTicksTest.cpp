// The time axis of the window's graph, with the graph's own font.
#include "record/TimeText.h"
#include "record/TimeTicks.h"
#include "support/ScopedTz.h"
#include "views/GraphFrame.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {

time64 T(int y, int mo, int d, int h, int mi) { return MakeLocalTime(y, mo, d, h, mi); }

std::string DateText(time64 t) { return FormatDateTime(t).section(' ', 0, 0).toStdString(); }

} // namespace

// With the graph's own font, at every span from a minute to two months and
// every width down to a sliver: labels stay inside the plot, never come
// closer than the gap, and a label shows a date exactly when it is the
// first one or its day differs from the tick before.
TEST(TimeTicks, LabelsNeverOverlapAtAnyWidth)
{
    const ScopedTz tz("UTC");
    const QFontMetrics fm(GraphScaleFont());
    const TextWidth width = [&fm](const QString& text) { return fm.horizontalAdvance(text); };
    const int gap = fm.horizontalAdvance(QLatin1Char('0'));
    const time64 from = T(2024, 3, 5, 9, 17);
    for (const time64 length : {60LL, 600LL, 3600LL, 5 * 3600LL, 86400LL, 3 * 86400LL, 20 * 86400LL, 60 * 86400LL}) {
        for (const int columns : {40, 90, 150, 343, 490, 735, 1200}) {
            SCOPED_TRACE(testing::Message() << length << " s over " << columns << " columns");
            const TimeAxisTicks axis = ChooseTimeTicks({from, from + length, columns}, width, gap);
            const TimeTick* previous = nullptr;
            const TimeTick* previousTick = nullptr;
            for (const TimeTick& tick : axis.ticks) {
                ASSERT_GE(tick.time, from);
                ASSERT_LE(tick.time, from + length);
                const bool newDay = previousTick && DateText(tick.time) != DateText(previousTick->time);
                previousTick = &tick;
                if (tick.text.isEmpty())
                    continue;
                ASSERT_GE(tick.left, 0);
                ASSERT_LE(tick.right, columns);
                ASSERT_EQ(tick.right - tick.left, width(tick.text));
                if (previous) {
                    ASSERT_GE(tick.left, previous->right + gap) << tick.text.toStdString();
                    ASSERT_EQ(tick.date, newDay) << tick.text.toStdString();
                }
                previous = &tick;
            }
            if (columns >= 150) {
                ASSERT_GE(axis.ticks.size(), 2u); // a readable axis, not an empty one
            }
        }
    }
}
