// The home page with the town field, and the list of matches that the same
// field gives without a script.
#pragma once

#include "places/gazetteer.h"
#include "serve/page_place.h"
#include "serve/page_text.h"

#include <string>
#include <string_view>

// The place as the page shows and names it: a shipped place by its id, an
// own place by its name, coordinates and zone.
PagePlace PagePlaceOf(const Place& place);

std::string RenderHomePage(const PageTexts& texts);

// The matches of query (UTF-8), best first, each a link to its page; the
// town field stays filled with the query.
std::string RenderMatchesPage(const PageTexts& texts, std::string_view query, const PlaceMatches& matches);
