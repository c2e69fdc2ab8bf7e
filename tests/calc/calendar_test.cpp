#include "calc/calendar.h"
#include "calc/summer_time.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

TEST(Calendar, LeapYearsMonthLengthsAndDaysOfTheYear) {
    EXPECT_EQ(CheckLeapYear(2000).message, "Is a leap-year!");
    EXPECT_EQ(CheckLeapYear(1900).message, "Is no leap-year!");
    EXPECT_EQ(MonthLength(2, 1), 29);
    EXPECT_EQ(MonthLength(2, 2), 28);
    EXPECT_EQ(MonthLength(10, 2), 31);
    EXPECT_EQ(MonthLength(11, 1), 30);
    const struct {
        int month, day, k, expected;
    } days[] = {{3, 28, 1, 88},  {3, 27, 2, 86}, {10, 30, 1, 304}, {10, 29, 2, 302},
                {1, 1, 1, 1},    {1, 1, 2, 1},   {3, 1, 2, 60},    {12, 31, 1, 366}};
    for (const auto& d : days)
        EXPECT_EQ(DayOfYear(d.month, d.day, d.k), d.expected) << d.month << "/" << d.day;
}

// Every year that can be entered, also those whose weekday sum no longer
// fits 16 bits, gets the right leap flag and the right change dates.
TEST(Calendar, LeapFlagAndSummerTimeDatesAreRightForEveryYearThatCanBeEntered) {
    using namespace std::chrono;
    int wrong = 0;
    for (int y = 1583; y <= 32767 && wrong < 5; ++y) {
        const LeapFlag leap = CheckLeapYear(static_cast<float>(y)).flag;
        const SummerTimePeriod period = ComputeSummerTimePeriod(static_cast<float>(y), leap);
        const year_month_day spring{sys_days{year{y} / March / Sunday[last]}};
        const year_month_day autumn{sys_days{year{y} / October / Sunday[last]} - days{1}};
        const bool right = leap == (year{y}.is_leap() ? 1 : 2) &&
                           period.springDay == static_cast<int>(unsigned{spring.day()}) &&
                           period.autumnDay == static_cast<int>(unsigned{autumn.day()});
        if (!right) {
            ++wrong;
            ADD_FAILURE() << y << ": leap " << int{leap} << ", " << period.springDay << " March, "
                          << period.autumnDay << " October";
        }
    }
}

TEST(SummerTime, ShiftsWholeDaysFromLastSundayOfMarchToSaturdayBeforeLastSundayOfOctober) {
    const SummerTimePeriod p = ComputeSummerTimePeriod(2005, 2);
    EXPECT_EQ(p.start, 86);
    EXPECT_EQ(p.end, 302);
    EXPECT_EQ(ApplySummerTime(4.5f, 85, p, 1), 4.5f);     // 26 March
    EXPECT_EQ(ApplySummerTime(4.5f, 86, p, 1), 5.5f);     // 27 March, the change day
    EXPECT_EQ(ApplySummerTime(19.5f, 302, p, 1), 20.5f);  // 29 October
    EXPECT_EQ(ApplySummerTime(19.5f, 303, p, 1), 19.5f);  // 30 October
    EXPECT_EQ(ApplySummerTime(4.5f, 150, p, 0), 4.5f);    // option off
}

}  // namespace
