#include "table/civil_moments.h"

#include "runtime/text/conversions.h"

#include <chrono>
#include <cmath>

namespace {

constexpr int64_t kDay = 86400;

// Whole seconds of t decimal hours, split as a cell is: hours, minutes and
// seconds, so the clock shows the cell's digits. A negative t (a moment
// before the date's midnight) splits into parts of its sign, as its cell.
int64_t RoundedSeconds(float t) {
    const Sexagesimal split = SplitSexagesimal(t);
    return split.whole * 3600 + split.minutes * 60 + split.seconds;
}

}  // namespace

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

std::vector<CivilDay> MomentsByZoneRule(const Timetable& timetable) {
    const TimetableSettings& settings = timetable.settings;
    const int32_t zoneSeconds = static_cast<int32_t>(std::lround(static_cast<double>(settings.zone) * 3600.0));
    std::vector<CivilDay> days;
    ForEachDayOfYear(timetable.leap, [&](int month, int day, int dayCounter) {
        const SunEvents moments = ComputeDayMoments(settings, timetable.summer, month, day, dayCounter);
        const int32_t offset =
            zoneSeconds + (InSummerTime(dayCounter, timetable.summer, settings.summerTime) ? 3600 : 0);
        const int64_t start = CivilDateSeconds(settings.year, month, day);
        days.push_back({settings.year, month, day,
                        MomentOfHours(moments.sunriseKind, moments.sunrise, start, offset),
                        MomentOfHours(moments.sunsetKind, moments.sunset, start, offset)});
    });
    return days;
}

namespace {

// An event found in standard time (hours after the date's start, clock
// standard seconds ahead of UTC) shown in the zone's civil time: the
// summer-time difference at that instant is added to the hours as the
// summer-time rule adds its hour, then rounded as a cell.
CivilMoment ZoneMoment(DayKind kind, float standardHours, int64_t dayStart, int32_t standard,
                       const CivilTimeZone& zone) {
    if (kind != DayKind::Normal) return MomentOfHours(kind, standardHours, dayStart, standard);
    const int64_t utc = dayStart + RoundedSeconds(standardHours) - standard;
    const int32_t offset = zone.OffsetAt(utc);
    const int32_t difference = offset - standard;
    const float hours =
        difference == 0 ? standardHours : static_cast<float>(standardHours + difference / 3600.0);
    return MomentOfHours(kind, hours, dayStart, offset);
}

}  // namespace

std::vector<CivilDay> MomentsInTimeZone(const Timetable& timetable, const CivilTimeZone& zone) {
    const TimetableSettings& settings = timetable.settings;
    std::vector<CivilDay> days;
    ForEachDayOfYear(timetable.leap, [&](int month, int day, int) {
        const int year = settings.year;
        int lived = 0;
        for (const int32_t standard : zone.StandardOffsetsOfDate(year, month, day)) {
            const SunEvents events =
                ComputeSunEvents(settings.year, static_cast<uint8_t>(month), static_cast<uint8_t>(day),
                                 settings.longitude, settings.latitude, static_cast<float>(standard / 3600.0));
            const int64_t start = CivilDateSeconds(year, month, day);
            days.push_back({year, month, day, ZoneMoment(events.sunriseKind, events.sunrise, start, standard, zone),
                            ZoneMoment(events.sunsetKind, events.sunset, start, standard, zone), ++lived});
        }
    });
    return days;
}

void FillYearTable(const std::vector<CivilDay>& days, YearTable& table) {
    for (const CivilDay& d : days)
        table[d.month * 100 + d.day] = EventCell(d.sunrise.kind, d.sunrise.hours, 0) + " " +
                                       EventCell(d.sunset.kind, d.sunset.hours, 12);
}
