// Today's sunrise and sunset in the main window's first Comments line.
#pragma once

#include "calc/timetable.h"
#include "ui/program.h"

#include <string>

// "Today " weekday " " month "." day "." year "   SS SR = " and the year
// table's entry of today's month and day. Month and day come from the date
// text, the weekday from the date value, the year is the one entered. On
// 29 February of a common entered year, which the table has no times for,
// the entry is "no 29 February in " and the year.
std::string TodayLineText(const Timetable& timetable, const StartValues& start);

// Writes the today line into the first Comments line (AboutLine).
void ShowTodayLine(Program& program);
