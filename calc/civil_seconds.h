// Whole seconds of the civil clock: a cell's decimal hours as the seconds
// its digits show, and the start of a civil date.
#pragma once

#include <chrono>
#include <cstdint>

// Whole seconds of t decimal hours, split as a cell is: hours, minutes and
// seconds, so the clock shows the cell's digits. A negative t (a moment
// before the date's midnight) splits into parts of its sign, as its cell.
int64_t RoundedSeconds(float t);

// Decimal hours whose cell shows exactly seconds: RoundedSeconds gives
// seconds back.
float HoursOfSeconds(int64_t seconds);

// Seconds from 1970-01-01 to the start of a civil date (proleptic Gregorian).
int64_t CivilDateSeconds(int year, int month, int day);

// The same start on the civil clock.
std::chrono::local_seconds CivilDateStart(int year, int month, int day);
