#include "calc/summer_time.h"

#include <gtest/gtest.h>

namespace {

TEST(SummerTime, RunsFromLastSundayOfMarchToSaturdayBeforeLastSundayOfOctober) {
    struct Case {
        float year;
        int springDay, autumnDay, start, end;
    };
    const Case cases[] = {
        {2004, 28, 30, 88, 304},  // 31 October 2004 is a Sunday
        {2005, 27, 29, 86, 302},
        {2006, 26, 28, 85, 301},
        {2010, 28, 30, 87, 303},  // 31 October 2010 is a Sunday in a common year
    };
    for (const Case& c : cases) {
        const SummerTimePeriod p = ComputeSummerTimePeriod(c.year, CheckLeapYear(c.year).flag);
        EXPECT_EQ(p.springMonth, 3);
        EXPECT_EQ(p.autumnMonth, 10);
        EXPECT_EQ(p.springDay, c.springDay) << c.year;
        EXPECT_EQ(p.autumnDay, c.autumnDay) << c.year;
        EXPECT_EQ(p.start, c.start) << c.year;
        EXPECT_EQ(p.end, c.end) << c.year;
    }
}

TEST(SummerTime, StatusLineNamesThePeriodOnlyWhenTheOptionIsOn) {
    const SummerTimePeriod p = ComputeSummerTimePeriod(2004, 1);
    EXPECT_EQ(SummerTimeStatusText("Is a leap-year!", p, 1),
              "Is a leap-year! ST-Changes included: 3.28. - 10.30.");
    EXPECT_EQ(SummerTimeStatusText("Is a leap-year!", p, 0),
              "Is a leap-year! No Summer Time Changes.");
}

TEST(SummerTime, ShiftsWholeDaysInsideThePeriodWhenTheOptionIsOn) {
    const SummerTimePeriod p = ComputeSummerTimePeriod(2005, 2);
    EXPECT_EQ(ApplySummerTime(4.5f, 85, p, 1), 4.5f);   // 26 March
    EXPECT_EQ(ApplySummerTime(4.5f, 86, p, 1), 5.5f);   // 27 March, the change day
    EXPECT_EQ(ApplySummerTime(19.5f, 302, p, 1), 20.5f);  // 29 October
    EXPECT_EQ(ApplySummerTime(19.5f, 303, p, 1), 19.5f);  // 30 October
    EXPECT_EQ(ApplySummerTime(4.5f, 150, p, 0), 4.5f);  // option off
}

}  // namespace
