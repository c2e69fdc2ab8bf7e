// A place by its coordinates: name, latitude and longitude as the programs
// take them (10-mode or 60-mode, with their sides) and an IANA zone chosen
// from the system's list, checked by the programs' checks.
#pragma once

#include "serve/page_html.h"
#include "serve/page_text.h"

#include <optional>
#include <set>
#include <string>
#include <vector>

struct CoordinatesForm {
    std::string name, latitude, longitude;  // UTF-8, as typed
    bool south = false, west = false;
    bool sixtyMode = false;
    std::string timeZone;
};

// The form's fields from a query; nothing when the query names none of them
// (the empty form is asked for).
std::optional<CoordinatesForm> ReadCoordinatesForm(const QueryPairs& query);

struct CoordinatesCheck {
    std::string title, text;  // the message of the first check refused; both empty when the place is taken
    double latitude = 0, longitude = 0;  // signed decimal degrees of a place taken
};

// The programs' checks of the town and coordinates, and the zone's presence
// in the time-zone database.
CoordinatesCheck CheckCoordinatesForm(const CoordinatesForm& form, int year);

// The place's page address for a form that passed.
std::string CoordinatesPlaceAddress(const CoordinatesForm& form, const CoordinatesCheck& check);

// The form, filled with form and showing check's refusal when there is one.
std::string RenderCoordinatesPage(const PageTexts& texts, const std::set<std::string>& zones,
                                  const CoordinatesForm& form, const CoordinatesCheck& check);
