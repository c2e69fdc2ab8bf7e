#include "table/place_choice.h"

#include "input/field_values.h"
#include "places/place_settings.h"
#include "text/shown_text.h"
#include "text/code_page.h"
#include "text/numbers.h"

#include <algorithm>
#include <charconv>
#include <ostream>

namespace {

// The most close spellings a refusal names.
constexpr std::size_t kClosestNamed = 5;

std::string ZoneOf(const Place& place) { return place.timeZone.empty() ? place.zone : place.timeZone; }

std::string Described(const Place& place) {
    std::string text = ShownText(place.name);
    if (!place.country.empty()) text += ", " + place.country;
    if (!place.countryName.empty()) text += " (" + place.countryName + ")";
    text += ", " + LatitudeText(place.latitude) + " " + LongitudeText(place.longitude);
    const std::string zone = ZoneOf(place);
    if (!zone.empty()) text += ", " + zone;
    return text;
}

}  // namespace

Gazetteer LoadToolGazetteer(const std::filesystem::path& dataFolder, std::ostream& err) {
    GazetteerLoad load = LoadGazetteer(dataFolder / "Places.tsv", dataFolder / "OwnPlaces.csv");
    for (const std::string& problem : load.problems) err << "kelmorven-table: " << problem << "\n";
    return std::move(load.gazetteer);
}

namespace {

// The line that names what a query does not find.
std::string NoMatch(const PlaceMatches& matches, const std::string& query) {
    if (!matches.unknownPlace.empty()) return "no country or region '" + ShownText(matches.unknownPlace) + "'";
    return "no place matches \"" + ShownText(query) + "\"";
}

// A place as a close spelling names it: "Zürich, Zürich, CH".
std::string Named(const Place& place) {
    std::string text = ShownText(place.name);
    if (!place.region.empty()) text += ", " + place.region;
    if (!place.country.empty()) text += ", " + place.country;
    return text;
}

bool AllDigits(const std::string& text) {
    return !text.empty() && text.size() <= 18 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

int ListPlaces(const Gazetteer& gazetteer, const std::string& query, std::ostream& out, std::ostream& err) {
    const PlaceMatches matches = FindPlaces(gazetteer, query, kPlacesListed);
    if (matches.best.empty()) {
        err << "kelmorven-table: " << NoMatch(matches, query) << "\n";
        return kTableInputMissing;
    }
    if (matches.closeSpellings)
        out << "No place is called \"" << ShownText(query) << "\"; close spellings:\n";
    // Names escaped whole: a tab in an own place's name adds no column.
    for (const Place& place : matches.best)
        out << ShownText(place.name, place.name.size()) << "\t" << place.country << "\t"
            << FormatFixed(place.latitude, 4) << "\t" << FormatFixed(place.longitude, 4) << "\t"
            << ShownText(ZoneOf(place), ZoneOf(place).size()) << "\t" << place.population << "\t"
            << place.region << "\n";
    return kTableWritten;
}

namespace {

// The line that says how many other places match the query, if any.
std::string OtherMatchesNote(const PlaceMatches& matches, const std::string& query, const Place& found) {
    if (matches.total <= 1) return "";
    const size_t others = matches.total - 1;
    std::string note = "  " + std::to_string(others) + (others > 1 ? " other places match" : " other place matches") +
                       " \"" + ShownText(query) + "\": --find \"" + ShownText(query) + "\" lists " +
                       (others > 1 ? "them" : "it");
    if (query.find(',') == std::string::npos && !found.country.empty())
        note += "; a region or country after a comma narrows it, as \"" + ShownText(query) + ", " +
                (found.region.empty() ? found.country : found.region) + "\"";
    return note + "\n";
}

// The places a --place query names: a GeoNames id, or a name ranked as
// --find ranks it; refusal says why when it names none for sure.
PlaceMatches MatchesOfQuery(const Gazetteer& gazetteer, const std::string& query, std::string& refusal) {
    PlaceMatches matches;
    if (AllDigits(query)) {
        // A GeoNames id, as the timetable service links places.
        std::int64_t id = 0;
        const auto [end, error] = std::from_chars(query.data(), query.data() + query.size(), id);
        std::optional<Place> byId = error == std::errc() ? FindPlaceById(gazetteer, id) : std::nullopt;
        if (byId) matches.best.push_back(std::move(*byId));
        else matches = FindPlaces(gazetteer, query, 1);
        if (matches.best.empty()) {
            refusal = "no place has the GeoNames id " + ShownText(query);
            return matches;
        }
    } else {
        matches = FindPlaces(gazetteer, query, kClosestNamed);
    }
    if (matches.best.empty()) {
        refusal = NoMatch(matches, query) + " (--find lists what a beginning matches)";
    } else if (matches.closeSpellings) {
        refusal = "no place is called \"" + ShownText(query) + "\"; close spellings:";
        for (size_t k = 0; k < matches.best.size(); ++k) refusal += (k ? "; " : " ") + Named(matches.best[k]);
    }
    return matches;
}

// The documents' time basis of the place found, unless the user gave one:
// a --zone or --time-zone is the user's; a --summer-time alone keeps the
// place's standard offset, since zone 0 would move a place far from
// Greenwich by hours.
void ChooseTimeBasis(PlaceChoice& choice, const Place& found, const PlaceInput& input, const TableOptions& options) {
    const auto given = [&](const char* option) { return options.given.count(option) > 0; };
    TablePlace& place = choice.place;
    if (given("--zone") || given("--time-zone")) return;
    if (options.format->needs.timeZone) {
        if (!found.timeZone.empty()) place.timeZone = found.timeZone;
        else place.zone = found.zone.empty() ? "0" : found.zone;
        return;
    }
    if (!input.timeBasisKnown) {
        choice.refusal = "the time zone \"" + ShownText(found.timeZone) + "\" of " + ShownText(found.name) +
                         " is not in the time-zone database: give --zone and, if it applies, --summer-time";
        return;
    }
    place.zone = input.zone;
    if (given("--summer-time")) return;
    choice.options.summerTime = input.summerTime;
    if (!input.note.empty())
        choice.report += "  The documents keep one zone for this place: " + input.note +
                         "; --format " + FormatWords(TakesTimeZone, "|", "|") + " gives each date's real time\n";
}

}  // namespace

PlaceChoice ChoosePlace(const Gazetteer& gazetteer, const std::string& query, const TableOptions& options,
                        const std::string& town) {
    PlaceChoice choice{options, {}, "", ""};
    const PlaceMatches matches = MatchesOfQuery(gazetteer, query, choice.refusal);
    if (!choice.refusal.empty()) return choice;
    const Place& found = matches.best[0];
    const auto given = [&](const char* option) { return options.given.count(option) > 0; };
    TablePlace& place = choice.place;
    TableOptions& o = choice.options;

    o.sixtyMode = given("--sixty-mode");
    const PlaceInput input = InputOfPlace(found, YearOfField(options.year), o.sixtyMode);
    place.town = !town.empty() ? town : options.town ? *options.town : Cp1252ToUtf8(input.town);
    place.longitude = options.longitude ? *options.longitude : input.longitude;
    place.latitude = options.latitude ? *options.latitude : input.latitude;
    place.west = given("--east") || given("--west") ? options.west : input.west;
    place.south = given("--north") || given("--south") ? options.south : input.south;
    place.zone = options.zone;
    place.timeZone = options.timeZone.value_or("");
    place.country = !found.countryName.empty() ? found.countryName : found.country;
    if (town.empty() && !options.town) place.name = found.name;
    choice.report = "Place: " + Described(found) + "\n" + OtherMatchesNote(matches, query, found);
    ChooseTimeBasis(choice, found, input, options);
    return choice;
}
