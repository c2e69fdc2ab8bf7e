#include "documents/civil_moments.h"

#include "text/numbers.h"

#include <chrono>
#include <cmath>

CivilMoment MomentOfHours(DayKind kind, float hours, std::chrono::local_seconds dayStart, int32_t offset) {
    CivilMoment moment;
    moment.kind = kind;
    moment.hours = hours;
    moment.offset = offset;
    if (kind == DayKind::Normal) moment.local = dayStart + std::chrono::seconds{RoundedSeconds(hours)};
    return moment;
}

std::vector<CivilDay> CivilDays(const YearResult& year) {
    std::vector<CivilDay> days;
    days.reserve(year.Dates().size());
    for (const DateMoments& d : year.Dates()) {
        const std::chrono::local_seconds start = CivilDateStart(d.year, d.month, d.day);
        days.push_back({d.year, d.month, d.day, MomentOfHours(d.sunrise.kind, d.sunrise.hours, start, d.sunrise.offset),
                        MomentOfHours(d.sunset.kind, d.sunset.hours, start, d.sunset.offset), d.lived});
    }
    return days;
}
