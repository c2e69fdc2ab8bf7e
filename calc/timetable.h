// Everything one calculation reads and makes: the checked input, the
// calendar and summer-time state of its year, and the year table.
#pragma once

#include "calc/calendar.h"
#include "calc/summer_time.h"
#include "calc/year_run.h"
#include "input/settings.h"

#include <functional>
#include <string>

struct Timetable {
    TimetableSettings settings;
    LeapFlag leap = 0;
    std::string leapMessage;
    SummerTimePeriod summer;
    YearTable table;
};

// Called with the leap message as soon as the year is known, then with the
// summer-time status that replaces it, both before the year run starts.
using StatusReport = std::function<void(const std::string& status)>;

// The calendar, the summer-time period and the year run for the settings
// already checked.
void CalculateYear(Timetable& timetable, const ProgressReport& report = {},
                   const StatusReport& status = {});
