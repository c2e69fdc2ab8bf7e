#include "calc/calendar.h"
#include "calc/summer_time.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

TEST(Calendar, TellsLeapYearsByTheGregorianRule) {
    struct Case {
        float year;
        LeapFlag flag;
        const char* message;
    };
    const Case cases[] = {{2000, 1, "Is a leap-year!"},  {2004, 1, "Is a leap-year!"},
                          {1900, 2, "Is no leap-year!"}, {2100, 2, "Is no leap-year!"},
                          {2005, 2, "Is no leap-year!"}, {1600, 1, "Is a leap-year!"},
                          {32764, 1, "Is a leap-year!"}, {32767, 2, "Is no leap-year!"}};
    for (const Case& c : cases) {
        const LeapCheck check = CheckLeapYear(c.year);
        EXPECT_EQ(check.flag, c.flag) << c.year;
        EXPECT_EQ(check.message, c.message) << c.year;
    }
}

TEST(Calendar, MonthLengthsFollowTheLeapFlag) {
    const int common[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(MonthLength(m, 2), common[m - 1]) << m;
        EXPECT_EQ(MonthLength(m, 1), m == 2 ? 29 : common[m - 1]) << m;
    }
}

TEST(Calendar, DayOfYearCountsFromFirstJanuaryWithTheLeapFlagAsFactor) {
    struct Case {
        int month, day, k, expected;
    };
    const Case cases[] = {{3, 28, 1, 88},   {3, 27, 2, 86},   {10, 30, 1, 304}, {10, 29, 2, 302},
                          {1, 1, 1, 1},     {1, 1, 2, 1},     {2, 29, 1, 60},   {3, 1, 2, 60},
                          {12, 31, 1, 366}, {12, 31, 2, 365}};
    for (const Case& c : cases)
        EXPECT_EQ(DayOfYear(c.month, c.day, c.k), c.expected) << c.month << "/" << c.day << " K=" << c.k;
}

TEST(Calendar, WeekdayNumberCountsFromSaturday) {
    EXPECT_EQ(WeekdayNumber(2004, 3, 28), 1);   // Sunday
    EXPECT_EQ(WeekdayNumber(2004, 10, 31), 1);  // Sunday
    EXPECT_EQ(WeekdayNumber(2005, 10, 1), 0);   // Saturday
    EXPECT_EQ(WeekdayNumber(2005, 10, 7), 6);   // Friday
}

// Every year a user can enter, including those whose weekday sum no longer
// fits 16 bits, gets the right last Sundays of March and October.
TEST(Calendar, SummerTimeChangeDatesAreRightForEveryYearThatCanBeEntered) {
    using namespace std::chrono;
    int wrong = 0;
    for (int y = 1583; y <= 32767; ++y) {
        const LeapFlag leap = CheckLeapYear(static_cast<float>(y)).flag;
        const SummerTimePeriod period = ComputeSummerTimePeriod(static_cast<float>(y), leap);
        const year_month_day spring{sys_days{year{y} / March / Sunday[last]}};
        const year_month_day autumn{sys_days{year{y} / October / Sunday[last]} - days{1}};
        if (period.springDay != static_cast<int>(unsigned{spring.day()}) ||
            period.autumnDay != static_cast<int>(unsigned{autumn.day()})) {
            if (++wrong <= 5) ADD_FAILURE() << "year " << y << ": " << period.springDay << ", "
                                            << period.autumnDay;
        }
        if (leap != (year{y}.is_leap() ? 1 : 2) && ++wrong <= 5) ADD_FAILURE() << "leap " << y;
    }
    EXPECT_EQ(wrong, 0);
}

}  // namespace
