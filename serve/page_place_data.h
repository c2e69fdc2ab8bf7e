// The place a page's address names, read by the service's own rules, and
// the moments its page shows, calculated as the service's downloads are.
#pragma once

#include "serve/page_place.h"
#include "serve/serve_program.h"
#include "serve/year_request.h"

#include <optional>
#include <string>

struct PagePlaceLookup {
    std::optional<PagePlace> place;
    RequestError error;  // 400 for an address that names no place properly, 404 for an unknown id
};

// place=ID (a shipped place's GeoNames id), or name, lat, lon (signed
// decimal degrees) and tz (an IANA zone), as ReadPlace takes them.
PagePlaceLookup FindPagePlace(const ServeProgram& program, const QueryPairs& query);

// The page of place for year: today's and tomorrow's moments and today's
// month in year, each in the civil time of the place's zone, from the year
// the CSV download is made of. Nothing, with the reason, when a year is
// refused.
std::optional<PlacePage> MakePlacePage(const ServeProgram& program, const PagePlace& place, int year, PageDate today,
                                       RequestError& refusal);

// The date after date.
PageDate NextDate(PageDate date);
