// The time axis under the report's chart, laid out with a fixed-width font.
#include "record/TimeText.h"
#include "report/pdf/PdfTimeAxis.h"
#include "support/ScopedTz.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Four points a character: "08:00" is 20 points wide, "2026-06-15" 40.
float FixedWidth(const QString& text) { return 4.0f * static_cast<float>(text.size()); }

time64 T(int y, int mo, int d, int h, int mi) { return MakeLocalTime(y, mo, d, h, mi); }

// "x:text" of each label of a row, left to right.
std::vector<std::string> Row(const PdfTimeAxis& axis, float y)
{
    std::vector<std::string> texts;
    for (const PdfAxisLabel& label : axis.labels)
        if (label.y == y)
            texts.push_back(QString::number(label.x).append(QLatin1Char(':')).append(label.text).toStdString());
    return texts;
}

using Texts = std::vector<std::string>;

// Times above, dates below: every label's time, the date on the first and
// on each new day's first, zero-padded; the labels centred on their marks
// and kept inside x 100 .. 500.
TEST(PdfTimeAxis, RoundTimesInTwoRows)
{
    const ScopedTz tz("Europe/Berlin");
    struct Case {
        const char* what;
        time64 start, stop;
        Texts times, dates;
    } const cases[] = {
        {"40000 s from 08:00: hourly labels would crowd the last one in", T(2026, 6, 15, 8, 0),
         T(2026, 6, 15, 8, 0) + 40000, {"110:08:00", "162:10:00", "234:12:00", "306:14:00", "378:16:00", "450:18:00"},
         {"100:2026-06-15"}},
        {"three days from 20:00: each midnight dated", T(2026, 6, 15, 20, 0), T(2026, 6, 18, 20, 0),
         {"112:00:00", "179:12:00", "246:00:00", "312:12:00", "379:00:00", "446:12:00"},
         {"102:2026-06-16", "236:2026-06-17", "369:2026-06-18"}},
        {"a dated first label that would reach a new day's date takes a longer step", T(2026, 12, 9, 12, 53),
         T(2026, 12, 9, 12, 53) + 178200, {"180:00:00", "277:12:00", "374:00:00", "471:12:00"},
         {"170:2026-12-10", "364:2026-12-11"}},
        {"the clocks go back: the repeated hour is labelled twice", T(2026, 10, 25, 0, 0), T(2026, 10, 25, 6, 0),
         {"110:00:00", "204:02:00", "261:02:00", "319:03:00", "376:04:00", "433:05:00", "480:06:00"},
         {"100:2026-10-25"}},
        {"sixty days: dates only", T(2026, 6, 1, 0, 0), T(2026, 7, 31, 0, 0), {},
         {"100:2026-06-01", "173:2026-06-15", "267:2026-06-29", "360:2026-07-13", "453:2026-07-27"}},
        {"one instant: its own label", T(2026, 6, 5, 9, 30), T(2026, 6, 5, 9, 30), {"110:09:30"}, {"100:2026-06-05"}},
    };
    for (const Case& c : cases) {
        const PdfTimeAxis axis = LayOutPdfTimeAxis(c.start, c.stop, FixedWidth);
        EXPECT_EQ(Row(axis, 425), c.times) << c.what;
        EXPECT_EQ(Row(axis, 415), c.dates) << c.what;
        for (const PdfAxisLabel& label : axis.labels) {
            EXPECT_GE(label.x, 100) << c.what;
            EXPECT_LE(label.x + FixedWidth(label.text), 500) << c.what << " " << label.text.toStdString();
        }
    }
}

} // namespace
