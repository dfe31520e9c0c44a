// The time-zone note of reports and sheets.
#include "record/ZoneNote.h"

#include "record/TimeText.h"
#include "support/ScopedTz.h"

#include <gtest/gtest.h>

namespace {

TEST(ZoneNote, NamesTheOffsetAtStartAndEachChangeWithin)
{
    struct Case {
        const char* zone;
        int startMonth, startDay, stopMonth, stopDay;
        const char* note;
    };
    const Case cases[] = {
        {"Europe/Berlin", 1, 10, 1, 20, "Times in UTC+01:00 (Europe/Berlin)"},
        {"Europe/Berlin", 3, 25, 4, 2, "Times in UTC+01:00 (Europe/Berlin), changes to UTC+02:00 on 2026-03-29 02:00"},
        {"Europe/Berlin", 10, 20, 10, 30, "Times in UTC+02:00 (Europe/Berlin), changes to UTC+01:00 on 2026-10-25 03:00"},
        {"Europe/Berlin", 3, 1, 11, 30,
         "Times in UTC+01:00 (Europe/Berlin), changes to UTC+02:00 on 2026-03-29 02:00, changes to UTC+01:00 on 2026-10-25 03:00"},
        {"America/St_Johns", 6, 1, 6, 2, "Times in UTC-02:30 (America/St_Johns)"},
        {"Asia/Shanghai", 3, 1, 11, 30, "Times in UTC+08:00 (Asia/Shanghai)"},
        {"UTC", 3, 1, 3, 2, "Times in UTC+00:00 (UTC)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zone);
        const ScopedTz tz(c.zone);
        const time64 start = MakeLocalTime(2026, c.startMonth, c.startDay, 12, 0);
        const time64 stop = MakeLocalTime(2026, c.stopMonth, c.stopDay, 12, 0);
        EXPECT_EQ(ZoneNote(start, stop).toStdString(), c.note);
    }
}

TEST(ZoneNote, AZoneGivenAsRulesIsNotNamed)
{
    const ScopedTz tz("CET-1CEST,M3.5.0,M10.5.0/3");
    const time64 start = MakeLocalTime(2026, 1, 10, 12, 0);
    EXPECT_EQ(ZoneNote(start, start + 3600).toStdString(), "Times in UTC+01:00");
}

} // namespace
