// The summer-time rule: from the last Sunday of March to the Saturday before
// the last Sunday of October, both days included, times are one hour later.
#pragma once

#include "calc/calendar.h"

#include <cstdint>
#include <string>

struct SummerTimePeriod {
    int16_t springMonth = 3;
    int16_t springDay = 0;   // the last Sunday of March
    int16_t autumnMonth = 10;
    int16_t autumnDay = 0;   // the day before the last Sunday of October
    int16_t start = 0;       // ordinal day of the first shifted day
    int16_t end = 0;         // ordinal day of the last shifted day
};

// The period of year (a whole number held as a real) whose LeapFlag is
// leap: springDay the last Sunday of March, autumnDay the day before the
// last Sunday of October, start and end their ordinal days (DayOfYear).
// 2005 gives 27 March (day 86) to 29 October (day 302).
SummerTimePeriod ComputeSummerTimePeriod(float year, LeapFlag leap);

// The status line after the period was found: the leap message, then the
// period when summerTime is 1, else " No Summer Time Changes.".
std::string SummerTimeStatusText(const std::string& leapMessage, const SummerTimePeriod& period,
                                 uint8_t summerTime);

// Whether ordinal day dayOfYear has its times one hour later: summerTime is 1
// and start <= dayOfYear <= end.
bool InSummerTime(int dayOfYear, const SummerTimePeriod& period, uint8_t summerTime);

// A time t (decimal hours of zone time) of ordinal day dayOfYear: t + 1 hour
// when InSummerTime, else t.
float ApplySummerTime(float t, int dayOfYear, const SummerTimePeriod& period, uint8_t summerTime);
