// The year's moments in the civil time of the place: each sunrise and
// sunset as a full local date and time with its offset from UTC, from the
// same solver and the same rounding to the second as the timetable cells.
#pragma once

#include "calc/sun_events.h"
#include "calc/timetable.h"
#include "calc/civil_time_zone.h"

#include <cstdint>
#include <vector>

// One moment of a date.
struct CivilMoment {
    DayKind kind = DayKind::Normal;  // Normal: a time; PolarDay: the Sun stays above; PolarNight: below
    float hours = 0.0f;              // decimal hours of civil time from the date's midnight, as the cell takes them
    int64_t local = 0;               // the civil clock, seconds since 1970-01-01 00:00, whole seconds as the cell
    int32_t offset = 0;              // seconds the civil clock is ahead of UTC at the moment
    int64_t Utc() const { return local - offset; }  // seconds since 1970-01-01 00:00 UTC
};

struct CivilDay {
    int year = 0, month = 0, day = 0;  // the date the two moments belong to
    CivilMoment sunrise, sunset;
    int lived = 1;  // 2 for the second time the zone lived the date (its clock set a day back)
};

// Seconds from 1970-01-01 to the start of a civil date (proleptic Gregorian).
int64_t CivilDateSeconds(int year, int month, int day);

// The moment of an event of the given kind at hours of civil time after the
// start dayStart (seconds) of its date, on a clock offset seconds ahead of
// UTC. The hours become whole seconds by SplitTime, as the cells' digits.
CivilMoment MomentOfHours(DayKind kind, float hours, int64_t dayStart, int32_t offset);

// Every date of the year of a calculated timetable, in the documents' time:
// zone hours ahead of UTC, plus one hour on the days of the summer-time
// rule when summer time is on. The hours are those of the year table's cells.
std::vector<CivilDay> MomentsByZoneRule(const Timetable& timetable);

// Every date of the year of timetable's settings in the civil time of zone:
// for each date the solver runs with the zone's standard offset of that
// date, and each moment is shown with the zone's offset at that instant.
// A date the zone skipped has no entry; a date it lived twice has two, one
// for each time, so every sunrise and sunset appears once, on its date.
std::vector<CivilDay> MomentsInTimeZone(const Timetable& timetable, const CivilTimeZone& zone);

// The year table's cells made anew from the moments: each date's DayEntry
// from its civil hours, so the today line shows the zone's civil time.
void FillYearTable(const std::vector<CivilDay>& days, YearTable& table);
