#include "serve/page_place_data.h"

#include "calc/civil_time_zone.h"
#include "documents/output_formats.h"
#include "places/place_settings.h"
#include "table/table_run.h"
#include "text/dates.h"
#include "text/numbers.h"

#include <charconv>
#include <cmath>
#include <sstream>

namespace {

const std::string* Value(const QueryPairs& query, std::string_view name) {
    for (const auto& [key, value] : query)
        if (key == name) return &value;
    return nullptr;
}

std::optional<double> Number(const std::string* text) {
    if (!text || text->empty()) return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
    if (error != std::errc() || end != text->data() + text->size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

PagePlaceLookup Refused(int status, std::string error) { return {std::nullopt, status, std::move(error)}; }

PagePlaceLookup PlaceById(const Gazetteer& gazetteer, const std::string& id) {
    std::int64_t number = 0;
    const auto [end, error] = std::from_chars(id.data(), id.data() + id.size(), number);
    if (error != std::errc() || end != id.data() + id.size() || number <= 0)
        return Refused(400, "place: a GeoNames id is a positive whole number");
    const Place* found = FindPlaceById(gazetteer, number);
    if (!found) return Refused(404, "place: no place has the id " + id);
    PagePlace place{found->name, found->region, found->countryName.empty() ? found->country : found->countryName,
                    found->latitude, found->longitude, found->timeZone, {{"place", id}}};
    return {place, 200, ""};
}

// The year of the place in the civil time of its zone, as the data formats
// compute it. The town does not change a moment, so a fixed one spares the
// name the town field's checks.
std::optional<YearResult> PlaceYear(const PagePlace& place, int year, std::string& refusal) {
    TableOptions options;
    options.year = std::to_string(year);
    options.sixtyMode = false;
    options.format = FindOutputFormat("csv");
    const TablePlace table{"PLACE", CoordinateFieldText(std::abs(place.longitude), false),
                           CoordinateFieldText(std::abs(place.latitude), false), "0", place.longitude < 0,
                           place.latitude < 0, place.timeZone, ""};
    std::ostringstream err;
    std::optional<YearResult> result = CalculatePlace(options, table, err);
    if (!result) refusal = err.str();
    return result;
}

std::optional<CivilDay> DayOf(const std::vector<CivilDay>& days, PageDate date) {
    for (const CivilDay& day : days)
        if (day.year == date.year && day.month == date.month && day.day == date.day) return day;
    return std::nullopt;
}

}  // namespace

PageDate NextDate(PageDate date) {
    const DateParts next = DatePartsOf(MakeDate(date.year, date.month, date.day) + 86400);
    return {next.year, next.month, next.day};
}

PagePlaceLookup FindPagePlace(const Gazetteer& gazetteer, const QueryPairs& query) {
    if (const std::string* id = Value(query, "place")) return PlaceById(gazetteer, *id);
    const std::string* name = Value(query, "name");
    if (!name || name->empty()) return Refused(400, "place: give place=ID, or name, lat, lon and tz");
    const std::optional<double> latitude = Number(Value(query, "lat"));
    if (!latitude || std::abs(*latitude) > 90) return Refused(400, "lat: degrees from -90 to 90");
    const std::optional<double> longitude = Number(Value(query, "lon"));
    if (!longitude || std::abs(*longitude) > 180) return Refused(400, "lon: degrees from -180 to 180");
    const std::string* zone = Value(query, "tz");
    if (!zone) return Refused(400, "tz: an IANA time zone, as Europe/Zurich");
    if (const CivilTimeZone::Lookup lookup = CivilTimeZone::Find(*zone); !lookup.zone)
        return Refused(400, "tz: " + lookup.error);
    PagePlace place{*name, "", "", *latitude, *longitude, *zone,
                    {{"name", *name}, {"lat", *Value(query, "lat")}, {"lon", *Value(query, "lon")}, {"tz", *zone}}};
    return {place, 200, ""};
}

std::optional<PlacePage> MakePlacePage(const PagePlace& place, int year, PageDate today, std::string& refusal) {
    PlacePage page;
    page.place = place;
    page.year = year;
    page.todayDate = today;
    page.tomorrowDate = NextDate(today);
    const std::optional<YearResult> shown = PlaceYear(place, year, refusal);
    if (!shown) return std::nullopt;
    const std::vector<CivilDay> shownDays = CivilDays(*shown);
    for (const CivilDay& day : shownDays)
        if (day.month == today.month && day.lived == 1) page.month.push_back(day);
    // Today and tomorrow come from their own years, which need not be the one shown.
    const std::pair<PageDate, std::optional<CivilDay>*> wanted[] = {{page.todayDate, &page.today},
                                                                     {page.tomorrowDate, &page.tomorrow}};
    for (const auto& [date, slot] : wanted) {
        if (date.year == year) {
            *slot = DayOf(shownDays, date);
            continue;
        }
        std::string ignored;
        if (const std::optional<YearResult> other = PlaceYear(place, date.year, ignored))
            *slot = DayOf(CivilDays(*other), date);
    }
    return page;
}
