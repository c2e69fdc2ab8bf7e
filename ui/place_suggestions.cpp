#include "ui/place_suggestions.h"

#include "files/text_file.h"
#include "places/place_settings.h"
#include "text/code_page.h"
#include "text/dates.h"
#include "text/numbers.h"
#include "ui/main_window.h"
#include "ui/program.h"
#include "window/window_layer.h"

#include <cmath>
#include <filesystem>

namespace {

constexpr std::size_t kMostSuggestions = 10;
constexpr int kLettersBeforeSuggesting = 2;

// Under the town field, over the coordinates and the command buttons while open.
constexpr int kListX = 150, kListY = 181, kListWidth = 610, kListMostHeight = 240;

// The note in the second Comments line for a place whose summer time the
// documents cannot show.
const std::string kStandardTimeNote = "Summer time here differs: tables in standard time";

int LettersIn(const std::string& cp1252) {
    int letters = 0;
    for (char c : FoldForSearch(Cp1252ToUtf8(cp1252)))
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) ++letters;
    return letters;
}

// The name in code page 1252, or the ASCII name where the code page lacks
// one of its letters.
std::string ShownName(const Place& place) {
    const std::string name = Utf8ToCp1252(place.name);
    return Cp1252ToUtf8(name) == place.name ? name : Utf8ToCp1252(place.asciiName);
}

// The year of the year field as the input check reads it; the current year
// where it names none.
int YearForZone(const Program& program) {
    const auto year = static_cast<int16_t>(ParseInteger(program.window.ControlTextGet(kYearField)));
    return year > 0 ? year : DatePartsOf(program.clock()).year;
}

}  // namespace

void LoadPlaces(Program& program) {
    const std::filesystem::path placeFile = ResolveInFolder(program.folder, "DatenE/Places.tsv");
    std::error_code error;
    if (!std::filesystem::exists(placeFile, error)) return;
    GazetteerLoad load = LoadGazetteer(placeFile, ResolveInFolder(program.folder, "DatenE/OwnPlaces.csv"));
    program.places.gazetteer = std::move(load.gazetteer);
    std::string text;
    for (const std::string& problem : load.problems) text += (text.empty() ? "" : "\n") + problem;
    if (!text.empty()) program.window.MessageShow("Attention !", Utf8ToCp1252(text));
}

void AddPlaceSuggestionList(Program& program) {
    PlaceSuggestions& s = program.places;
    s.shown.clear();
    s.searchedTown = program.settings.town;  // what the new field shows
    if (s.gazetteer.places.empty()) return;
    program.window.SuggestionListAdd(kPlaceSuggestionList, kListX, kListY, kListWidth, kListMostHeight,
                                     kTownField);
}

void SuggestPlaces(Program& program) {
    PlaceSuggestions& s = program.places;
    WindowLayer& w = program.window;
    const std::string town = w.ControlTextGet(kTownField);
    if (town == s.searchedTown || s.gazetteer.places.empty()) return;
    s.searchedTown = town;
    s.shown.clear();
    std::string lines;
    if (LettersIn(town) >= kLettersBeforeSuggesting) {
        for (const Place* place : FindPlaces(s.gazetteer, Cp1252ToUtf8(town), kMostSuggestions).best) {
            lines += (lines.empty() ? "" : "\n") + SuggestionLine(*place);
            s.shown.push_back(place);
        }
    }
    w.ControlTextSet(kPlaceSuggestionList, lines);
}

void FillInChosenPlace(Program& program) {
    PlaceSuggestions& s = program.places;
    WindowLayer& w = program.window;
    const int line = w.ControlStateGet(kPlaceSuggestionList);
    if (line < 1 || line > static_cast<int>(s.shown.size())) return;
    const Place& place = *s.shown[line - 1];

    const std::string town = TownFromPlace(place);
    w.ControlTextSet(kTownField, town);
    const bool sixtyMode = w.ControlStateGet(kSixtyModeOption) == 1;
    w.ControlTextSet(kLongitudeField, CoordinateFieldText(std::abs(place.longitude), sixtyMode));
    w.ControlTextSet(kLatitudeField, CoordinateFieldText(std::abs(place.latitude), sixtyMode));
    // Setting one option of a group leaves the other as it was: both are set.
    const bool west = place.longitude < 0, south = place.latitude < 0;
    w.ControlStateSet(kEastOption, west ? 0 : 1);
    w.ControlStateSet(kWestOption, west ? 1 : 0);
    w.ControlStateSet(kNorthOption, south ? 0 : 1);
    w.ControlStateSet(kSouthOption, south ? 1 : 0);

    const bool noted = w.ControlTextGet(kStatusLine) == kStandardTimeNote;
    if (const std::optional<DocumentTimeBasis> basis = DocumentTimeBasisOf(place, YearForZone(program))) {
        w.ControlTextSet(kZoneField, ZoneFieldText(basis->zoneHours));
        w.ControlStateSet(kSummerTimeBox, basis->summerTime ? 1 : 0);
        if (basis->keepsStandardTime) {
            w.ControlTextSet(kStatusLine, kStandardTimeNote);
        } else if (noted) {
            w.ControlTextSet(kStatusLine, "");
        }
    } else if (noted) {
        w.ControlTextSet(kStatusLine, "");
    }
    s.searchedTown = town;  // the town now shown is no new search
    s.shown.clear();
}

std::string SuggestionLine(const Place& place) {
    const std::string latitude = FormatFixed(std::abs(place.latitude), 4) + (place.latitude < 0 ? " S" : " N");
    const std::string longitude = FormatFixed(std::abs(place.longitude), 4) + (place.longitude < 0 ? " W" : " E");
    // An own place may give its zone in hours instead of by name.
    const std::string zone = place.timeZone.empty() ? place.zone : place.timeZone;
    return ShownName(place) + "\t" + place.country + "\t" + latitude + "\t" + longitude + "\t" +
           Utf8ToCp1252(zone);
}

std::string ZoneFieldText(double hours) {
    // Four decimals at most, without trailing zeros.
    std::string text = FormatFixed(hours, 4);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text == "-0" ? "0" : text;
}
