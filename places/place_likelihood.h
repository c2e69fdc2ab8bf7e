// How likely a place is the one meant among places that match a query
// equally well.
#pragma once

#include "places/gazetteer.h"

#include <algorithm>
#include <cmath>

// A place's standing: 2 for a capital or a seat of a region or county, 0
// for a district of a city, 1 for any other.
inline int Standing(const Place& place) {
    const std::string& f = place.feature;
    if (f == "PPLC" || f == "PPLA" || f == "PPLA2") return 2;
    return f == "PPLX" ? 0 : 1;
}

// The decimal logarithm of the population, 1 more for a capital or seat,
// 2 less for a district.
inline float PlaceLikelihood(const Place& place) {
    const int standing = Standing(place);
    return static_cast<float>(std::log10(static_cast<double>(std::max<std::int64_t>(place.population, 0)) + 1) +
                              (standing == 2 ? 1 : standing == 0 ? -2 : 0));
}
