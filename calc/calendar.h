// Civil-calendar rules of the Gregorian year entered.
//
// Source: the Gregorian leap-year rule, and the ordinal-day and weekday
// formulas of the usual almanac rules, their quotients formed in single
// precision as the timetables always formed them.
// Range: years 1 to 32767 are accepted (what the input checks let through);
// every quotient there is exact in single precision, so the results are
// those of the proleptic Gregorian calendar. The leap flags and the change
// dates of summer time are checked against the standard library's calendar
// for every year from 1583 to 32767.
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

// LeapFlag and leap message of year (a whole number held as a real) by the
// Gregorian rule: a leap year when year / 4 is whole and either year / 100
// is not or year / 400 is, each quotient formed in single precision and
// compared with its truncation. 2000 and 2004 are leap years, 1900 not.
LeapCheck CheckLeapYear(float year);

// Number of days, 28 to 31, of month 1-12; February has 29 only for leap 1.
int MonthLength(int month, LeapFlag leap);

// Ordinal day of the year, 1 for 1 January, of month 1-12 and day 1-31,
// with K = LeapFlag passed unchanged (1 leap year, 2 common year):
// Int(275 M / 9) - K Int((M + 9) / 12) + D - 30, quotients in single
// precision. DayOfYear(3, 28, 1) is 88.
int DayOfYear(int month, int day, int k);

// Weekday of a Gregorian date, for months 3 to 12 only: 0 = Saturday,
// 1 = Sunday ... 6 = Friday. WeekdayNumber(2004, 3, 28) is 1.
int WeekdayNumber(int year, int month, int day);
