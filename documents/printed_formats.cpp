#include "documents/printed_formats.h"

#include "calc/sun_events.h"
#include "documents/civil_moments.h"
#include "documents/print_back_end.h"
#include "text/code_page.h"
#include "text/numbers.h"

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

std::string TimeBasisText(const YearResult& year) {
    if (!year.TimeZone().empty()) return "Civil time of the time zone " + year.TimeZone() + ", with its summer time";
    const TimetableSettings& s = year.Settings();
    std::string text =
        "Zone time " + UtcOffsetText(static_cast<int32_t>(std::lround(static_cast<double>(s.zone) * 3600.0)));
    if (!s.summerTime) return text + ", no summer time";
    return text + ", summer time one hour ahead from " + std::to_string(year.Summer().springDay) + " March to " +
           std::to_string(year.Summer().autumnDay) + " October";
}

// The clock's offset on each date: that of a moment that happens; the
// rule's offset holds for a whole date, and a time zone's date without one
// (polar day or night, when no zone changes its clock) keeps the offset of
// the date before.
std::vector<int32_t> DateOffsets(const YearResult& year) {
    std::vector<int32_t> offsets;
    std::optional<int32_t> last;
    for (const DateMoments& d : year.Dates()) {
        if (d.sunrise.kind == DayKind::Normal) last = d.sunrise.offset;
        else if (d.sunset.kind == DayKind::Normal) last = d.sunset.offset;
        else if (year.TimeZone().empty() || !last) last = d.sunrise.offset;
        offsets.push_back(*last);
    }
    return offsets;
}

}  // namespace

std::string PrintedCoordinates(float latitude, float longitude) {
    return DegreesText(latitude, 'N', 'S') + ", " + DegreesText(longitude, 'E', 'W');
}

PrintedYear PrintedYearOf(const YearResult& year, int64_t created, const std::string& country) {
    const TimetableSettings& s = year.Settings();
    PrintedYear printed;
    printed.created = created;
    printed.title = Cp1252ToUtf8(s.town) + (country.empty() ? "" : ", " + country) + " \u2014 " +
                    PrintedCoordinates(s.latitude, s.longitude) + " \u2014 " + std::to_string(s.year);
    printed.timeBasis = TimeBasisText(year);
    printed.definition = "Sunrise (SR) and sunset (SS): the Sun's centre " + FormatReal(HorizonAltitude) +
                         "\u00B0 above the true geocentric horizon (no refraction, no semi-diameter); "
                         "***** the Sun stays above all day, ----- below";

    const std::vector<CivilDay> days = CivilDays(year);
    const std::vector<int32_t> offsets = DateOffsets(year);
    const int32_t least = offsets.empty() ? 0 : *std::min_element(offsets.begin(), offsets.end());
    for (size_t i = 0; i < days.size(); ++i) {
        const CivilDay& d = days[i];
        const int64_t start = CivilDateSeconds(d.year, d.month, d.day);
        printed.days.push_back({d.month, d.day, offsets[i] > least, PrintedOf(d.sunrise, start), PrintedOf(d.sunset, start)});
    }
    return printed;
}

std::string PrintedPdf(const YearResult& year, const RenderOptions& options) {
    return BackEndYearPdf(PrintedYearOf(year, options.stamp, options.country));
}

std::string PrintedSvg(const YearResult& year, const RenderOptions& options) {
    return BackEndYearChartSvg(PrintedYearOf(year, options.stamp, options.country));
}
