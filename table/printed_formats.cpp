#include "table/printed_formats.h"

#include "calc/sun_events.h"
#include "runtime/text/conversions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

std::string DegreesText(float degrees, char positive, char negative) {
    const long seconds = std::lround(std::fabs(static_cast<double>(degrees)) * 3600.0);
    char text[40];
    std::snprintf(text, sizeof text, "%ld\u00B0%02ld'%02ld'' %c", seconds / 3600, seconds / 60 % 60, seconds % 60,
                  degrees < 0 ? negative : positive);
    return text;
}

PrintedMoment PrintedOf(const CivilMoment& moment, int64_t dayStart) {
    if (moment.kind == DayKind::PolarDay) return {PrintedMoment::Kind::Above, 0};
    if (moment.kind == DayKind::PolarNight) return {PrintedMoment::Kind::Below, 0};
    return {PrintedMoment::Kind::Time, static_cast<int32_t>(moment.local - dayStart)};
}

// "UTC+01:00", "UTC-03:30".
std::string UtcOffsetText(int32_t seconds) {
    const long size = std::labs(seconds);
    char text[24];
    std::snprintf(text, sizeof text, "UTC%c%02ld:%02ld", seconds < 0 ? '-' : '+', size / 3600, size / 60 % 60);
    return text;
}

std::string TimeBasisText(const DataYear& year) {
    if (!year.timeZone.empty()) return "Civil time of the time zone " + year.timeZone + ", with its summer time";
    const TimetableSettings& s = year.settings;
    std::string text =
        "Zone time " + UtcOffsetText(static_cast<int32_t>(std::lround(static_cast<double>(s.zone) * 3600.0)));
    if (!s.summerTime) return text + ", no summer time";
    return text + ", summer time one hour ahead from " + std::to_string(year.springDay) + " March to " +
           std::to_string(year.autumnDay) + " October";
}

// Seconds the clock is ahead of UTC at a date's noon.
int32_t NoonOffset(const CivilDay& day, const CivilTimeZone* zone) {
    if (!zone) return day.sunrise.offset;  // the rule's offset holds for the whole date
    const int64_t noon = CivilDateSeconds(day.year, day.month, day.day) + 12 * 3600;
    return zone->OffsetAt(noon - zone->StandardOffset(day.year, day.month, day.day));
}

}  // namespace

std::string PrintedCoordinates(float latitude, float longitude) {
    return DegreesText(latitude, 'N', 'S') + ", " + DegreesText(longitude, 'E', 'W');
}

PrintedYear PrintedYearOf(const DataYear& year, const CivilTimeZone* zone, int64_t created,
                          const std::string& country) {
    const TimetableSettings& s = year.settings;
    PrintedYear printed;
    printed.year = s.year;
    printed.created = created;
    printed.title = Cp1252ToUtf8(s.town) + (country.empty() ? "" : ", " + country) + " \u2014 " +
                    PrintedCoordinates(s.latitude, s.longitude) + " \u2014 " + std::to_string(s.year);
    printed.timeBasis = TimeBasisText(year);
    printed.definition = "Sunrise (SR) and sunset (SS): the Sun's centre " + FormatReal(HorizonAltitude) +
                         "\u00B0 above the true geocentric horizon (no refraction, no semi-diameter); "
                         "***** the Sun stays above all day, ----- below";

    std::vector<int32_t> offsets;
    for (const CivilDay& d : year.days) offsets.push_back(NoonOffset(d, zone));
    const int32_t least = offsets.empty() ? 0 : *std::min_element(offsets.begin(), offsets.end());
    for (size_t i = 0; i < year.days.size(); ++i) {
        const CivilDay& d = year.days[i];
        const int64_t start = CivilDateSeconds(d.year, d.month, d.day);
        printed.days.push_back({d.month, d.day, offsets[i] > least, PrintedOf(d.sunrise, start), PrintedOf(d.sunset, start)});
    }
    return printed;
}
