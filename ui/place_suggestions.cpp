#include "ui/place_suggestions.h"

#include "input/field_values.h"
#include "places/place_settings.h"
#include "text/shown_text.h"
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

// The notes in the second Comments line for a place whose summer time or
// changing standard time the documents cannot show.
const std::string kStandardTimeNote = "Summer time here differs: tables in standard time";
const std::string kStandardChangeNote = "Standard time changes this year: tables keep ";

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
    const int year = YearOfField(program.window.ControlTextGet(kYearField));
    return year > 0 ? year : DatePartsOf(program.clock()).year;
}

}  // namespace

void LoadPlaces(Program& program) {
    const std::filesystem::path placeFile = ResolveInFolder(program.folder, "DatenE/Places.tsv");
    const std::filesystem::path ownFile = ResolveInFolder(program.folder, "DatenE/OwnPlaces.csv");
    // Without either file the program has no places by name and says nothing;
    // own places work without the shipped file.
    std::error_code error;
    if (!std::filesystem::exists(placeFile, error) && !std::filesystem::exists(ownFile, error)) return;
    GazetteerLoad load = LoadGazetteer(placeFile, ownFile);
    program.places.gazetteer = std::move(load.gazetteer);
    std::string text;
    for (const std::string& problem : load.problems) text += (text.empty() ? "" : "\n") + problem;
    if (!text.empty()) program.window.MessageShow("Attention !", Utf8ToCp1252(text));
}

void AddPlaceSuggestionList(Program& program) {
    PlaceSuggestions& s = program.places;
    s.shown.clear();
    s.searchedTown = program.settings.town;  // what the new field shows
    if (PlaceCount(s.gazetteer) == 0) return;
    program.window.SuggestionListAdd(kPlaceSuggestionList, kListX, kListY, kListWidth, kListMostHeight,
                                     kTownField);
}

void SuggestPlaces(Program& program) {
    PlaceSuggestions& s = program.places;
    WindowLayer& w = program.window;
    const std::string town = w.ControlTextGet(kTownField);
    if (town == s.searchedTown || PlaceCount(s.gazetteer) == 0) return;
    s.searchedTown = town;
    s.shown.clear();
    std::string lines;
    if (LettersIn(town) >= kLettersBeforeSuggesting) {
        const PlaceMatches matches = FindPlaces(s.gazetteer, Cp1252ToUtf8(town), kMostSuggestions);
        // A row that is no place has no entry in shown: choosing it does nothing.
        if (!matches.unknownPlace.empty()) {
            lines = Utf8ToCp1252("No country or region '" + ShownText(matches.unknownPlace) + "'");
        } else if (matches.best.empty()) {
            lines = "No place matches \"" + Utf8ToCp1252(ShownText(Cp1252ToUtf8(town))) + "\"";
        } else if (matches.closeSpellings) {
            lines = "Close spellings:";
            s.shown.emplace_back();
        }
        for (const Place& place : matches.best) {
            lines += (lines.empty() ? "" : "\n") + SuggestionLine(place);
            s.shown.push_back(place);
        }
    }
    w.ControlTextSet(kPlaceSuggestionList, lines);
}

namespace {

bool IsOwnNote(const std::string& status) {
    return status == kStandardTimeNote || status.rfind(kStandardChangeNote, 0) == 0;
}

// The zone, the summer-time box and the note of the chosen place for the
// year field's year.
void FillInTimeBasis(Program& program, const Place& place) {
    WindowLayer& w = program.window;
    ChosenPlace& chosen = program.places.chosen.emplace(ChosenPlace{place, YearForZone(program), "", false});
    const PlaceInput input = InputOfPlace(place, chosen.year, false);
    const bool noted = IsOwnNote(w.ControlTextGet(kStatusLine));
    if (!input.timeBasisKnown) {
        program.places.chosen.reset();
        if (noted) w.ControlTextSet(kStatusLine, "");
        return;
    }
    chosen.zone = input.zone;
    chosen.summerTime = input.summerTime;
    w.ControlTextSet(kZoneField, input.zone);
    w.ControlStateSet(kSummerTimeBox, input.summerTime ? 1 : 0);
    if (input.basis->change)
        w.ControlTextSet(kStatusLine, kStandardChangeNote + input.zone);
    else if (input.basis->keepsStandardTime)
        w.ControlTextSet(kStatusLine, kStandardTimeNote);
    else if (noted)
        w.ControlTextSet(kStatusLine, "");
}

}  // namespace

void FillInChosenPlace(Program& program) {
    PlaceSuggestions& s = program.places;
    WindowLayer& w = program.window;
    const int line = w.ControlStateGet(kPlaceSuggestionList);
    if (line < 1 || line > static_cast<int>(s.shown.size()) || !s.shown[line - 1]) return;
    const Place place = *s.shown[line - 1];

    const bool sixtyMode = w.ControlStateGet(kSixtyModeOption) == 1;
    const PlaceInput input = InputOfPlace(place, YearForZone(program), sixtyMode);
    w.ControlTextSet(kTownField, input.town);
    w.ControlTextSet(kLongitudeField, input.longitude);
    w.ControlTextSet(kLatitudeField, input.latitude);
    // Setting one option of a group leaves the other as it was: both are set.
    w.ControlStateSet(kEastOption, input.west ? 0 : 1);
    w.ControlStateSet(kWestOption, input.west ? 1 : 0);
    w.ControlStateSet(kNorthOption, input.south ? 0 : 1);
    w.ControlStateSet(kSouthOption, input.south ? 1 : 0);
    FillInTimeBasis(program, place);
    s.searchedTown = input.town;  // the town now shown is no new search
    s.shown.clear();
}

void FollowYearOfChosenPlace(Program& program) {
    WindowLayer& w = program.window;
    if (!program.places.chosen) return;
    const ChosenPlace& chosen = *program.places.chosen;
    // Values the user typed or ticked since choosing stand.
    if (w.ControlTextGet(kZoneField) != chosen.zone || (w.ControlStateGet(kSummerTimeBox) == 1) != chosen.summerTime) {
        program.places.chosen.reset();
        return;
    }
    if (YearForZone(program) != chosen.year) FillInTimeBasis(program, Place(chosen.place));
}

std::string SuggestionLine(const Place& place) {
    // An own place may give its zone in hours instead of by name.
    const std::string zone = place.timeZone.empty() ? place.zone : place.timeZone;
    // "Springfield, Illinois, US": which of the places of one name it is.
    std::string named = ShownName(place);
    if (!place.region.empty()) named += ", " + Utf8ToCp1252(place.region);
    if (!place.country.empty()) named += ", " + place.country;
    return named + "\t" + LatitudeText(place.latitude) + "\t" + LongitudeText(place.longitude) + "\t" +
           Utf8ToCp1252(zone);
}

