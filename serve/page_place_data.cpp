#include "serve/page_place_data.h"

#include "documents/output_formats.h"
#include "text/dates.h"

#include <chrono>
#include <charconv>

namespace {

double Degrees(const std::string& text) {
    double value = 0;
    std::from_chars(text.data() + (text.starts_with('+') ? 1 : 0), text.data() + text.size(), value);
    return value;
}

std::optional<CivilDay> DayOf(const std::vector<CivilDay>& days, PageDate date) {
    for (const CivilDay& day : days)
        if (day.year == date.year && day.month == date.month && day.day == date.day) return day;
    return std::nullopt;
}

std::optional<std::vector<CivilDay>> DaysOfYear(const ServeProgram& program, const PagePlace& place, int year,
                                                RequestError& refusal) {
    // The name changes no moment; a neutral one lets the page show a place
    // whose name the town field's checks refuse (the downloads say why).
    PlaceParameters parameters = place.parameters;
    if (parameters.id.empty()) parameters.name = "PLACE";
    const CalculatedYear calculated =
        CalculateRequestedYear(program, {parameters, std::to_string(year), FindOutputFormat("csv"), {}, {}});
    if (calculated.error) {
        refusal = calculated.error;
        return std::nullopt;
    }
    return CivilDays(*calculated.year);
}

}  // namespace

PageDate NextDate(PageDate date) {
    const DateParts next = DatePartsOf(MakeDate(date.year, date.month, date.day) + std::chrono::days{1});
    return {next.year, next.month, next.day};
}

PagePlaceLookup FindPagePlace(const ServeProgram& program, const QueryPairs& query) {
    const PlaceReading reading = ReadPlace(program, Request{"GET", "/place", query, {}});
    if (reading.error) return {std::nullopt, reading.error};
    const PlaceParameters& p = reading.place;
    PagePlace place;
    place.parameters = p;
    if (!p.id.empty()) {
        const Place found = *FindPlaceById(program.gazetteer, std::stoll(p.id));
        place.name = found.name;
        place.region = found.region;
        place.country = found.countryName.empty() ? found.country : found.countryName;
        place.latitude = found.latitude;
        place.longitude = found.longitude;
        place.timeZone = found.timeZone;
        place.address = {{"place", p.id}};
    } else {
        place.name = p.name;
        place.latitude = Degrees(p.lat);
        place.longitude = Degrees(p.lon);
        place.timeZone = p.tz;
        place.address = {{"name", p.name}, {"lat", p.lat}, {"lon", p.lon}, {"tz", p.tz}};
    }
    return {place, {}};
}

std::optional<PlacePage> MakePlacePage(const ServeProgram& program, const PagePlace& place, int year, PageDate today,
                                       RequestError& refusal) {
    PlacePage page;
    page.place = place;
    page.year = year;
    page.todayDate = today;
    page.tomorrowDate = NextDate(today);
    const std::optional<std::vector<CivilDay>> shown = DaysOfYear(program, place, year, refusal);
    if (!shown) return std::nullopt;
    for (const CivilDay& day : *shown)
        if (day.month == today.month && day.lived == 1) page.month.push_back(day);
    // Today and tomorrow come from their own years, which need not be the one shown.
    const std::pair<PageDate, std::optional<CivilDay>*> wanted[] = {{page.todayDate, &page.today},
                                                                     {page.tomorrowDate, &page.tomorrow}};
    for (const auto& [date, slot] : wanted) {
        if (date.year == year) {
            *slot = DayOf(*shown, date);
            continue;
        }
        RequestError ignored;  // a year beyond the formats' range: the date shows without moments
        if (const std::optional<std::vector<CivilDay>> other = DaysOfYear(program, place, date.year, ignored))
            *slot = DayOf(*other, date);
    }
    return page;
}
