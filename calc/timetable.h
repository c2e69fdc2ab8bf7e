// Everything one calculation reads and makes: the checked input, the
// calendar and summer-time state of its year, and the year table.
#pragma once

#include "calc/calendar.h"
#include "calc/summer_time.h"
#include "calc/year_run.h"
#include "input/settings.h"

#include <string>

struct Timetable {
    TimetableSettings settings;
    LeapFlag leap = 0;
    std::string leapMessage;
    SummerTimePeriod summer;
    YearTable table;
};

// The calendar, the summer-time period and the year run for the settings
// already checked; returns the status line text. The window program makes
// the same steps one by one, showing the status between them.
std::string CalculateYear(Timetable& timetable, const ProgressReport& report = {});
