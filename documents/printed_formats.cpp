#include "documents/printed_formats.h"

#include "calc/civil_time_zone.h"
#include "calc/sun_events.h"
#include "documents/civil_moments.h"
#include "documents/moment_text.h"
#include "documents/print_back_end.h"
#include "text/code_page.h"
#include "text/numbers.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <vector>

namespace {

std::string DegreesText(float degrees, char positive, char negative) {
    const long seconds = std::lround(std::fabs(static_cast<double>(degrees)) * 3600.0);
    char text[40];
    std::snprintf(text, sizeof text, "%ld\u00B0%02ld'%02ld'' %c", seconds / 3600, seconds / 60 % 60, seconds % 60,
                  degrees < 0 ? negative : positive);
    return text;
}

PrintedMoment PrintedOf(const CivilMoment& moment, std::chrono::local_seconds dayStart) {
    if (moment.kind == DayKind::PolarDay) return {PrintedMoment::Kind::Above, 0};
    if (moment.kind == DayKind::PolarNight) return {PrintedMoment::Kind::Below, 0};
    return {PrintedMoment::Kind::Time, static_cast<int32_t>((moment.local - dayStart).count())};
}

// "one hour", "two hours", "30 minutes".
std::string AmountText(int32_t seconds) {
    static const char* const kHours[] = {"", "one hour", "two hours", "three hours"};
    const int32_t size = std::abs(seconds);
    if (size % 3600 == 0 && size / 3600 <= 3) return kHours[size / 3600];
    return std::to_string(size / 60) + " minutes";
}

// The clock of a date: its offset and whether it counts as summer time.
struct DateClock {
    int32_t offset = 0;
    bool summer = false;
    bool operator==(const DateClock&) const = default;
    bool operator<(const DateClock& other) const {
        return offset != other.offset ? offset < other.offset : summer < other.summer;
    }
};

// Each date's clock. A time zone's comes from the zone at the date's first
// moment, or at its noon on a date without one (polar day or night), as the
// database marks it; the documents' from their rule, summer time where the
// clock is ahead of the zone's hours.
std::vector<DateClock> DateClocks(const YearResult& year, const std::vector<CivilDay>& days) {
    std::vector<DateClock> clocks;
    const int32_t standard = static_cast<int32_t>(std::lround(static_cast<double>(year.Settings().zone) * 3600.0));
    const std::optional<CivilTimeZone> zone =
        year.TimeZone().empty() ? std::nullopt : CivilTimeZone::Find(year.TimeZone()).zone;
    for (const CivilDay& d : days) {
        const CivilMoment& moment = d.sunrise.kind == DayKind::Normal ? d.sunrise : d.sunset;
        if (!zone) {
            clocks.push_back({moment.offset, moment.offset > standard});
            continue;
        }
        int64_t utc = moment.Utc().time_since_epoch().count();
        if (moment.kind != DayKind::Normal) {
            const int64_t noon = CivilDateSeconds(d.year, d.month, d.day) + 43200;
            utc = noon - zone->OffsetAt(noon - zone->OffsetAt(noon));
        }
        clocks.push_back({zone->OffsetAt(utc), zone->DaylightAt(utc)});
    }
    return clocks;
}

// "29 March", as the time-basis line names a date.
std::string DayMonthText(const CivilDay& d) {
    return std::to_string(d.day) + " " + kMonthNames[d.month - 1];
}

// The clock most dates of the year keep, preferring standard time.
DateClock MainClock(const std::vector<DateClock>& clocks) {
    std::map<DateClock, int> count;
    for (const DateClock& c : clocks) count[c] += c.summer ? 1 : 1000;
    DateClock main;
    int most = -1;
    for (const auto& [clock, n] : count)
        if (n > most) most = n, main = clock;
    return main;
}

// "on 5 May", "until 28 March", "from 25 October", "from 29 March to 24
// October": the dates from..to of count dates.
std::string StretchText(const std::vector<CivilDay>& days, size_t from, size_t to, size_t count) {
    if (from == to) return "on " + DayMonthText(days[from]);
    if (from == 0) return "until " + DayMonthText(days[to]);
    if (to + 1 == count) return "from " + DayMonthText(days[from]);
    return "from " + DayMonthText(days[from]) + " to " + DayMonthText(days[to]);
}

// "; UTC+02:00 from 29 March to 24 October": a clock other than the main
// one, with the stretches it holds.
std::string OtherClockText(const DateClock& c, const DateClock& main, const std::vector<std::string>& stretches) {
    std::string text = "; ";
    if (!c.summer) text += "standard time ";
    text += "UTC" + OffsetText(c.offset);
    for (size_t i = 0; i < stretches.size(); ++i)
        text += (i == 0 ? " " : i + 1 == stretches.size() ? " and " : ", ") + stretches[i];
    if (c.summer && c.offset < main.offset) text += ", which the zone marks as its summer time";
    return text;
}

// "UTC+01:00; UTC+02:00 from 29 March to 24 October": the main clock, then
// each other with the stretches of dates it holds; "no summer time" when
// the zone marks none.
std::string ClockChanges(const std::vector<CivilDay>& days, const std::vector<DateClock>& clocks) {
    if (clocks.empty()) return "";
    const DateClock main = MainClock(clocks);
    std::map<DateClock, std::vector<std::string>> stretches;
    std::vector<DateClock> order;
    bool anySummer = false;
    for (size_t from = 0; from < clocks.size();) {
        size_t to = from;
        while (to + 1 < clocks.size() && clocks[to + 1] == clocks[from]) ++to;
        const DateClock& c = clocks[from];
        anySummer = anySummer || c.summer;
        if (!(c == main)) {
            if (!stretches.count(c)) order.push_back(c);
            stretches[c].push_back(StretchText(days, from, to, clocks.size()));
        }
        from = to + 1;
    }
    std::string text = "UTC" + OffsetText(main.offset);
    for (const DateClock& c : order) text += OtherClockText(c, main, stretches[c]);
    return anySummer ? text : text + "; no summer time";
}

std::string TimeBasisText(const YearResult& year, const std::vector<CivilDay>& days, const std::vector<DateClock>& clocks) {
    if (!year.TimeZone().empty()) return "Civil time of the time zone " + year.TimeZone() + ": " + ClockChanges(days, clocks);
    const TimetableSettings& s = year.Settings();
    // "UTC+01:00", "UTC-03:30": the page names the zone's whole minutes.
    const int32_t seconds = static_cast<int32_t>(std::lround(static_cast<double>(s.zone) * 3600.0));
    std::string text = "Zone time UTC" + OffsetText(seconds / 60 * 60);
    if (!s.summerTime) return text + ", no summer time";
    return text + ", summer time one hour ahead from " + std::to_string(year.Summer().springDay) + " March to " +
           std::to_string(year.Summer().autumnDay) + " October";
}

// The legend's words for the shading: what summer time means on this clock.
std::string SummerKey(const std::vector<DateClock>& clocks) {
    const DateClock main = MainClock(clocks);
    for (const DateClock& c : clocks)
        if (c.summer && c.offset != main.offset)
            return c.offset > main.offset
                       ? "summer time in force (the clock " + AmountText(c.offset - main.offset) + " ahead)"
                       : "the zone's summer time (the clock " + AmountText(c.offset - main.offset) +
                             " behind its standard time)";
    return "summer time in force, as the zone marks it";
}

// Blanks at the ends gone, and no two in a row.
std::string Tidied(const std::string& text) {
    std::string tidy;
    for (char c : text)
        if (c != ' ' || (!tidy.empty() && tidy.back() != ' ')) tidy += c;
    while (!tidy.empty() && tidy.back() == ' ') tidy.pop_back();
    return tidy;
}

int Weekday(int year, int month, int day) {
    const std::chrono::sys_days date{std::chrono::year{year} / month / day};
    return static_cast<int>(std::chrono::weekday{date}.c_encoding());
}

std::vector<std::string> FooterLines(const RenderOptions& options, bool byName) {
    return {options.program + (byName ? ". The place: GeoNames (geonames.org), CC BY 3.0." : "."),
            "Accuracy: up to 65\u00B0 of latitude from 1900 to 2100 a time is typically about a second off, at most "
            "6.2 s; beyond the polar circles within 9 s, and up to 99 s within five days of polar day or night.",
            "Published sunrise and sunset times count the refraction of the air and the Sun's upper edge: "
            "they differ from these by a few minutes, sunrise earlier and sunset later."};
}

}  // namespace

std::string PrintedCoordinates(float latitude, float longitude) {
    return DegreesText(latitude, 'N', 'S') + ", " + DegreesText(longitude, 'E', 'W');
}

PrintedYear PrintedYearOf(const YearResult& year, int64_t created, const PrintedPlace& place) {
    RenderOptions options;
    options.stamp = std::chrono::sys_seconds(std::chrono::seconds(created));
    options.place = place;
    return PrintedYearOf(year, options);
}

PrintedYear PrintedYearOf(const YearResult& year, const RenderOptions& options) {
    const TimetableSettings& s = year.Settings();
    const std::string country = Tidied(options.place.country);
    const std::string name = Tidied(options.place.name.empty() ? Cp1252ToUtf8(s.town) : options.place.name);
    PrintedYear printed;
    printed.created = options.stamp;
    printed.paper = options.letterPaper ? PrintedPaper::Letter : PrintedPaper::A4;
    printed.title = name + (country.empty() ? "" : ", " + country) + " \u2014 " +
                    PrintedCoordinates(s.latitude, s.longitude) + " \u2014 " + std::to_string(s.year);
    printed.definition = "Sunrise (SR) and sunset (SS): the Sun's centre " + FormatReal(HorizonAltitude) +
                         "\u00B0 above the true geocentric horizon (no refraction, no semi-diameter)";
    printed.footer = FooterLines(options, !country.empty());

    const std::vector<CivilDay> days = CivilDays(year);
    const std::vector<DateClock> clocks = DateClocks(year, days);
    printed.timeBasis = TimeBasisText(year, days, clocks);
    printed.summerKey = year.TimeZone().empty() ? "summer time in force (the clock one hour ahead)" : SummerKey(clocks);
    for (size_t i = 0; i < days.size(); ++i) {
        const CivilDay& d = days[i];
        const std::chrono::local_seconds start = CivilDateStart(d.year, d.month, d.day);
        printed.days.push_back({d.month, d.day, clocks[i].summer, PrintedOf(d.sunrise, start), PrintedOf(d.sunset, start),
                                Weekday(d.year, d.month, d.day)});
    }
    if (options.today) {
        const std::chrono::year_month_day today{*options.today};
        if (static_cast<int>(today.year()) == s.year) {
            printed.todayMonth = static_cast<int>(static_cast<unsigned>(today.month()));
            printed.todayDay = static_cast<int>(static_cast<unsigned>(today.day()));
        }
    }
    return printed;
}

std::string PrintedPdf(const YearResult& year, const RenderOptions& options) {
    return BackEndYearPdf(PrintedYearOf(year, options));
}

std::string PrintedSvg(const YearResult& year, const RenderOptions& options) {
    return BackEndYearChartSvg(PrintedYearOf(year, options));
}
