// The year of a place in the civil time of an IANA time zone, for the data
// formats (--time-zone).
#pragma once

#include "calc/year_result.h"
#include "calc/civil_time_zone.h"

#include <string>

// Every date of the year of settings in the civil time of zone, named name:
// for each date the solver runs with the zone's standard offset of that
// date, and each moment is shown with the zone's offset at that instant.
// A date the zone skipped has no moments; a date it lived twice has them
// twice, once for each time.
YearResult YearInTimeZone(const TimetableSettings& settings, const CivilTimeZone& zone, const std::string& name);
