// Places by name in the main window: the suggestions under the town field,
// and what choosing one fills in.
#pragma once

#include "places/gazetteer.h"

#include <optional>
#include <string>
#include <vector>

struct Program;

// The place last chosen, with the year and the time basis it filled in.
struct ChosenPlace {
    Place place;
    int year = 0;
    std::string zone;  // the zone field's text then
    bool summerTime = false;
};

struct PlaceSuggestions {
    Gazetteer gazetteer;              // loaded once at start; without places, no suggestions
    std::vector<std::optional<Place>> shown;  // the places of the list's lines, in their order; none for a heading
    std::string searchedTown;         // the town field's text the list was made for
    std::optional<ChosenPlace> chosen;  // while its zone and summer time are as chosen
};

// Reads DatenE/Places.tsv and DatenE/OwnPlaces.csv once and reports their
// problems in one message. Without a place file the program works as it
// always has, without a word.
void LoadPlaces(Program& program);

// Adds the suggestion list under the town field, when there are places.
void AddPlaceSuggestionList(Program& program);

// The town field has changed or taken or lost the focus: a new text of at
// least two letters shows the best places in the list, a shorter one closes it.
void SuggestPlaces(Program& program);

// A line of the list was chosen: town, coordinates in the mode chosen now,
// sides, zone and summer time of the place go into the window.
void FillInChosenPlace(Program& program);

// At CALCULATE: when the year field names another year than when a place
// was chosen, and its zone and summer time are still as chosen, they follow
// the year. Values the user changed stand.
void FollowYearOfChosenPlace(Program& program);

// One line of the list (code page 1252): name, region and country (as
// "Springfield, Illinois, US"), latitude, longitude and zone, a tab between
// them.
std::string SuggestionLine(const Place& place);

