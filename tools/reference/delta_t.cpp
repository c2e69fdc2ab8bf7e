#include "tools/reference/delta_t.h"

#include <array>
#include <iterator>

namespace {

struct Knot {
    double year;     // 1 January of that year
    double seconds;  // TT - UT1
};

// Five-yearly values from the astronomical almanacs up to 1985, yearly values
// from 1990 to 2030 (after 2025 predictions), from 2050 the long-term
// expression -20 + 32 u^2 - 0.5628 (2150 - year), u = (year - 1820) / 100,
// of Espenak and Meeus, and 2040 halfway between. The years after 2030 are
// uncertain by tens of seconds.
constexpr std::array<Knot, 66> kDeltaT = {{
    {1900, -2.79}, {1905, 3.70},  {1910, 10.38}, {1915, 17.19}, {1920, 21.16}, {1925, 23.62},
    {1930, 24.02}, {1935, 23.93}, {1940, 24.33}, {1945, 26.77}, {1950, 29.15}, {1955, 31.07},
    {1960, 33.15}, {1965, 35.73}, {1970, 40.18}, {1975, 45.48}, {1980, 50.54}, {1985, 54.34},
    {1990, 56.86}, {1991, 57.57}, {1992, 58.31}, {1993, 59.12}, {1994, 59.98}, {1995, 60.78},
    {1996, 61.63}, {1997, 62.29}, {1998, 62.97}, {1999, 63.47}, {2000, 63.83}, {2001, 64.09},
    {2002, 64.30}, {2003, 64.47}, {2004, 64.57}, {2005, 64.69}, {2006, 64.85}, {2007, 65.15},
    {2008, 65.46}, {2009, 65.78}, {2010, 66.07}, {2011, 66.32}, {2012, 66.60}, {2013, 66.91},
    {2014, 67.28}, {2015, 67.64}, {2016, 68.10}, {2017, 68.59}, {2018, 68.97}, {2019, 69.22},
    {2020, 69.36}, {2021, 69.36}, {2022, 69.29}, {2023, 69.20}, {2024, 69.18}, {2025, 69.14},
    {2026, 69.2},  {2027, 69.4},  {2028, 69.6},  {2029, 69.9},  {2030, 70.2},  {2040, 81.6},
    {2050, 93.0},  {2060, 113.7}, {2070, 135.0}, {2080, 156.9}, {2090, 179.5}, {2100, 202.7},
}};

}  // namespace

double DeltaT(double year) {
    if (!(year > kDeltaT.front().year)) return kDeltaT.front().seconds;
    if (year >= kDeltaT.back().year) return kDeltaT.back().seconds;
    auto next = kDeltaT.begin();
    while (next->year <= year) ++next;
    const Knot& before = *std::prev(next);
    const double f = (year - before.year) / (next->year - before.year);
    return before.seconds + f * (next->seconds - before.seconds);
}
