// Civil-calendar rules of the Gregorian year entered.
#pragma once

#include <cstdint>
#include <string>

// 1 for a leap year, 2 for a common year (0 before the first calculation).
// A number, not a yes/no: DayOfYear takes it as its factor K.
using LeapFlag = uint8_t;

struct LeapCheck {
    LeapFlag flag = 0;
    std::string message;  // "Is a leap-year!" or "Is no leap-year!"
};

// The Gregorian rule, each divisibility tested in single precision.
LeapCheck CheckLeapYear(float year);

// Days of month 1-12.
int MonthLength(int month, LeapFlag leap);

// Ordinal day of the year, 1-based, with K = LeapFlag.
int DayOfYear(int month, int day, int k);

// 0 = Saturday, 1 = Sunday ... 6 = Friday, for months 3 to 12.
int WeekdayNumber(int year, int month, int day);
