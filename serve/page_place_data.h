// The place a page's address names, and the moments its page shows.
#pragma once

#include "places/gazetteer.h"
#include "serve/page_place.h"

#include <optional>
#include <string>

struct PagePlaceLookup {
    std::optional<PagePlace> place;
    int status = 200;   // 400 for an address that names no place properly, 404 for an unknown id
    std::string error;  // what is wrong, for the page
};

// place=ID (a shipped place's GeoNames id), or name, lat, lon (signed
// decimal degrees) and tz (an IANA zone of the system's database).
PagePlaceLookup FindPagePlace(const Gazetteer& gazetteer, const QueryPairs& query);

// The page of place for year: today's and tomorrow's moments, today's month
// in year, each in the civil time of the place's zone, with the same
// solver, zone rules and rounding as the data formats. Nothing, with the
// reason in refusal, when the year is one the formats cannot hold.
std::optional<PlacePage> MakePlacePage(const PagePlace& place, int year, PageDate today, std::string& refusal);

// The date after date.
PageDate NextDate(PageDate date);
