#include "calc/zone_year.h"

#include "calc/civil_seconds.h"
#include "calc/sun_events.h"
#include "calc/year_run.h"

namespace {

// An event found in standard time (hours after the date's start, clock
// standard seconds ahead of UTC) shown in the zone's civil time: rounded
// to the second as its cell at the standard offset is, then moved by the
// whole seconds the zone's clock differs at that instant, so the data and
// a cell made at either offset show the same seconds.
Moment ZoneMoment(DayKind kind, float standardHours, int64_t dayStart, int32_t standard,
                  const CivilTimeZone& zone) {
    if (kind != DayKind::Normal) return {kind, standardHours, standard};
    const int64_t seconds = RoundedSeconds(standardHours);
    const int32_t offset = zone.OffsetAt(dayStart + seconds - standard);
    const int32_t difference = offset - standard;
    return {kind, difference == 0 ? standardHours : HoursOfSeconds(seconds + difference), offset};
}

}  // namespace

YearResult YearInTimeZone(const TimetableSettings& settings, const CivilTimeZone& zone, const std::string& name) {
    const LeapFlag leap = CheckLeapYear(settings.yearReal).flag;
    std::vector<DateMoments> dates;
    ForEachDayOfYear(leap, [&](int month, int day, int) {
        const int year = settings.year;
        int lived = 0;
        for (const int32_t standard : zone.StandardOffsetsOfDate(year, month, day)) {
            const SunEvents events =
                ComputeSunEvents(settings.year, static_cast<uint8_t>(month), static_cast<uint8_t>(day),
                                 settings.longitude, settings.latitude, static_cast<float>(standard / 3600.0));
            const int64_t start = CivilDateSeconds(year, month, day);
            dates.push_back({year, month, day, ZoneMoment(events.sunriseKind, events.sunrise, start, standard, zone),
                             ZoneMoment(events.sunsetKind, events.sunset, start, standard, zone), ++lived});
        }
    });
    return YearResult(settings, leap, ComputeSummerTimePeriod(settings.yearReal, leap), std::move(dates), name);
}
