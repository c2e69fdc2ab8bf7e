// The year of a place in the civil time of an IANA time zone, for the data
// formats (--time-zone).
#pragma once

#include "calc/year_result.h"
#include "calc/civil_time_zone.h"

#include <string>

// Which date a moment is listed on.
enum class EventDates {
    Solved,  // each date's own solution, as its cells: a sunset after midnight on the date before
    Local,   // the date the zone's clock shows: each sunrise and sunset once, a date without
             // one marked DayKind::OtherDate, a date with two listed twice (lived 1 and 2)
};

// Every date of the year of settings in the civil time of zone, named name:
// for each date the solver runs with the zone's standard offset of that
// date, and each moment is shown with the zone's offset at that instant,
// rounded to the second as a cell at the standard offset and moved by the
// whole seconds of the difference. A date the zone skipped has no moments;
// a date it lived twice has them twice, once for each time. With Local,
// the moments of a clock far from the longitude move onto the dates that
// clock gives them; those outside the year are left to its neighbours.
YearResult YearInTimeZone(const TimetableSettings& settings, const CivilTimeZone& zone, const std::string& name,
                          EventDates dates = EventDates::Local);
