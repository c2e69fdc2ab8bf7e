// The today line of the main window and the batch tool: today's weekday and
// date with the entered year, and today's entry of the year table.
#pragma once

#include "calc/year_result.h"
#include "text/dates.h"

#include <string>

// Weekday name of 0 = Sunday ... 6 = Saturday, spelled as the program shows
// it ("Thuesday", "Thirsday").
std::string WeekdayName(int weekday);

// "Today Sunday 3.14.2004   SS SR = 44821 75313": the weekday and month.day
// of today, the year entered (yearReal rounded), then the entry of today's
// DayCode unchanged. On 29 February of a common entered year the entry is
// replaced by
// "no 29 February in " and the year.
std::string TodayLine(const YearResult& result, DateValue today);
