// The run over all days of a year into the year table, and the time cells.
#pragma once

#include "calc/calendar.h"
#include "calc/summer_time.h"
#include "calc/sun_events.h"
#include "input/settings.h"

#include <cstdint>
#include <functional>
#include <string>

// month * 100 + day: 101 is 1 January, 1231 is 31 December.
using DayCode = int32_t;

// Five characters "hmmss" of t with the hour counted from shift (0 for a
// sunrise, 12 for a sunset): the last five characters of the number
// n = (h - shift) * 10000 + m * 100 + s, so a sunrise from 10:00 or a sunset
// from 22:00 loses the tens digit of its hour. A shorter n is padded to five:
// with zeros when n >= 0 (00:45:10 gives "04510"), with blanks when negative.
// h, m and s are SplitSexagesimal's: half a second rounds up, and 06:59:59.6
// gives 7, 0, 0.
std::string TimeCell(float t, int shift);

// The cell of an event of the given kind: TimeCell(t, shift) when the Sun
// crosses the altitude, "*****" when it stays above, "-----" below.
std::string EventCell(DayKind kind, float t, int shift);

// The two moments of month 1-12 and day of the year of settings as the
// DayEntry shows them: the solver's times with the summer-time hour added
// when dayCounter lies in period and summer time is on, with their kinds.
SunEvents ComputeDayMoments(const TimetableSettings& settings, const SummerTimePeriod& period,
                            int month, int day, int dayCounter);

// Calls visit(month, day, dayCounter) for every date of a year whose
// LeapFlag is leap, in calendar order, dayCounter from 1.
void ForEachDayOfYear(LeapFlag leap, const std::function<void(int month, int day, int dayCounter)>& visit);

// The two cells of a date as the timetables show them, five characters
// each: the sunrise's "44821" and the sunset's "75313" (its hour counted
// from noon); a cell whose event does not happen is "*****" when the Sun
// stays above the altitude and "-----" when it stays below.
struct DayCells {
    std::string sunrise, sunset;
};
DayCells ComputeDayCells(DayKind sunriseKind, float sunrise, DayKind sunsetKind, float sunset);
inline DayCells ComputeDayCells(const SunEvents& moments) {
    return ComputeDayCells(moments.sunriseKind, moments.sunrise, moments.sunsetKind, moments.sunset);
}

// The DayEntry of a date, as the today line shows it: sunrise cell, one
// blank, sunset cell, "44821 75313".
std::string ComputeDayEntry(const DayCells& cells);

// Called with 1, 2, ... 329 as the first 329 days are done.
using ProgressReport = std::function<void(int progress)>;
