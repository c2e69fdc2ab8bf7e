#include "table/zone_year.h"

#include "documents/civil_moments.h"

namespace {

// An event found in standard time (hours after the date's start, clock
// standard seconds ahead of UTC) shown in the zone's civil time: the
// summer-time difference at that instant is added to the hours as the
// summer-time rule adds its hour, then rounded as a cell.
Moment ZoneMoment(DayKind kind, float standardHours, int64_t dayStart, int32_t standard,
                  const CivilTimeZone& zone) {
    if (kind != DayKind::Normal) return {kind, standardHours, standard};
    const int64_t utc = dayStart + RoundedSeconds(standardHours) - standard;
    const int32_t offset = zone.OffsetAt(utc);
    const int32_t difference = offset - standard;
    const float hours =
        difference == 0 ? standardHours : static_cast<float>(standardHours + difference / 3600.0);
    return {kind, hours, offset};
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
