#include "documents/civil_moments.h"

#include "text/numbers.h"

#include <chrono>
#include <cmath>

namespace {

constexpr int64_t kDay = 86400;

}  // namespace

int64_t RoundedSeconds(float t) {
    const Sexagesimal split = SplitSexagesimal(t);
    return split.whole * 3600 + split.minutes * 60 + split.seconds;
}

int64_t CivilDateSeconds(int year, int month, int day) {
    const std::chrono::sys_days date{std::chrono::year{year} / month / day};
    return static_cast<int64_t>(date.time_since_epoch().count()) * kDay;
}

CivilMoment MomentOfHours(DayKind kind, float hours, int64_t dayStart, int32_t offset) {
    CivilMoment moment;
    moment.kind = kind;
    moment.hours = hours;
    moment.offset = offset;
    if (kind == DayKind::Normal) moment.local = dayStart + RoundedSeconds(hours);
    return moment;
}

std::vector<CivilDay> CivilDays(const YearResult& year) {
    std::vector<CivilDay> days;
    days.reserve(year.Dates().size());
    for (const DateMoments& d : year.Dates()) {
        const int64_t start = CivilDateSeconds(d.year, d.month, d.day);
        days.push_back({d.year, d.month, d.day, MomentOfHours(d.sunrise.kind, d.sunrise.hours, start, d.sunrise.offset),
                        MomentOfHours(d.sunset.kind, d.sunset.hours, start, d.sunset.offset), d.lived});
    }
    return days;
}
