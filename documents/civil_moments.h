// The year's moments in the civil time of the place: each sunrise and
// sunset as a full local date and time with its offset from UTC, from the
// same solver and the same rounding to the second as the timetable cells.
#pragma once

#include "calc/civil_seconds.h"
#include "calc/sun_events.h"
#include "calc/year_result.h"

#include <chrono>
#include <cstdint>
#include <vector>

// One moment of a date.
struct CivilMoment {
    DayKind kind = DayKind::Normal;  // Normal: a time; PolarDay: the Sun stays above; PolarNight: below
    float hours = 0.0f;              // decimal hours of civil time from the date's midnight, as the cell takes them
    std::chrono::local_seconds local{};  // the civil clock, whole seconds as the cell
    int32_t offset = 0;              // seconds the civil clock is ahead of UTC at the moment
    std::chrono::sys_seconds Utc() const {  // the instant
        return std::chrono::sys_seconds{local.time_since_epoch() - std::chrono::seconds{offset}};
    }
};

struct CivilDay {
    int year = 0, month = 0, day = 0;  // the date the two moments belong to
    CivilMoment sunrise, sunset;
    int lived = 1;  // 2 for the second time the zone lived the date (its clock set a day back)
};

// The moment of an event of the given kind at hours of civil time after the
// start dayStart (seconds) of its date, on a clock offset seconds ahead of
// UTC. The hours become whole seconds by SplitTime, as the cells' digits.
CivilMoment MomentOfHours(DayKind kind, float hours, std::chrono::local_seconds dayStart, int32_t offset);

// Every date of a calculated year with its moments on the result's clock,
// each at whole seconds as its cell shows it.
std::vector<CivilDay> CivilDays(const YearResult& year);
