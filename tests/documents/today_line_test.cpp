#include "documents/today_line.h"
#include "tests/documents/filled_timetable.h"

#include <gtest/gtest.h>

TEST(TodayLine, ShowsTodaysWeekdayAndDateWithTheEnteredYearAndItsEntry) {
    struct Case {
        int enteredYear;
        int month, day, currentYear;
        const char* expected;
    };
    const Case cases[] = {
        {2004, 3, 14, 2004, "Today Sunday 3.14.2004   SS SR = 50314 70314"},
        {2005, 3, 14, 2004, "Today Sunday 3.14.2005   SS SR = 50314 70314"},  // the weekday of the real date
        {2005, 1, 1, 2026, "Today Thirsday 1.1.2005   SS SR = 50101 70101"},
        {2005, 12, 31, 2026, "Today Thirsday 12.31.2005   SS SR = 51231 71231"},
        {2005, 12, 8, 2026, "Today Thuesday 12.8.2005   SS SR = 51208 71208"},
        {2005, 5, 17, 2026, "Today Sunday 5.17.2005   SS SR = 52233 91530"},
        {2004, 2, 29, 2028, "Today Thuesday 2.29.2004   SS SR = 50229 70229"},
        {2005, 2, 29, 2028, "Today Thuesday 2.29.2005   SS SR = no 29 February in 2005"},
    };
    for (const Case& c : cases) {
        Timetable t = FilledTimetable(c.enteredYear);
        EXPECT_EQ(TodayLine(t, MakeDate(c.currentYear, c.month, c.day, 13, 5)), c.expected);
    }
}

TEST(TodayLine, NamesEveryWeekdayAsTheProgramSpellsIt) {
    const char* names[] = {"Sunday", "Monday", "Thuesday", "Wednesday", "Thirsday", "Friday", "Saturday"};
    for (int weekday = 0; weekday < 7; ++weekday) EXPECT_EQ(WeekdayName(weekday), names[weekday]);
    Timetable t = FilledTimetable(2026);
    for (int day = 6; day <= 12; ++day)  // 6 December 2026 is a Sunday
        EXPECT_EQ(TodayLine(t, MakeDate(2026, 12, day)).substr(0, 6 + std::string(names[day - 6]).size()),
                  "Today " + std::string(names[day - 6]));
}
