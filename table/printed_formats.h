// The year printed: TOWN.pdf, the grid of the year's times and the year
// chart on two A4 landscape pages, and TOWN.svg, the chart alone.
#pragma once

#include "runtime/print/printed_year.h"
#include "table/civil_time_zone.h"
#include "table/data_formats.h"

#include <cstdint>
#include <string>

// What the two printed formats draw of a year of moments: the title (the
// town, its country when given, the coordinates and the year), the time
// basis, the definition of the moments and each date's two clock times,
// with summer time in force where the clock is ahead of its least offset of
// the year. zone is the time zone of year.timeZone, nothing for the zone and
// summer-time rule; created is the files' creation time.
PrintedYear PrintedYearOf(const DataYear& year, const CivilTimeZone* zone, int64_t created,
                          const std::string& country = "");

// "48°24'02'' N, 9°59'58'' E": whole seconds of arc.
std::string PrintedCoordinates(float latitude, float longitude);
