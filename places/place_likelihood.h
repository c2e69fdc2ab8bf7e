// How likely a place is the one meant among places that match a query
// equally well.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string_view>

// A place's standing by its GeoNames feature code: 2 for a capital or a
// seat of a region or county, 0 for a district of a city, 1 for any other.
inline int Standing(std::string_view feature) {
    if (feature == "PPLC" || feature == "PPLA" || feature == "PPLA2") return 2;
    return feature == "PPLX" ? 0 : 1;
}

// The decimal logarithm of the population, 1 more for a capital or seat,
// 2 less for a district.
inline float PlaceLikelihood(std::int64_t population, std::string_view feature) {
    const int standing = Standing(feature);
    return static_cast<float>(std::log10(static_cast<double>(std::max<std::int64_t>(population, 0)) + 1) +
                              (standing == 2 ? 1 : standing == 0 ? -2 : 0));
}
