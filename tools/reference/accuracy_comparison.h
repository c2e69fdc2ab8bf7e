// The engine's timings against the precise reference, over whole years of
// a set of places.
#pragma once

#include <string>
#include <vector>

struct AccuracyPlace {
    std::string town;
    double longitude = 0.0;  // degrees, east positive
    double latitude = 0.0;   // degrees, north positive
    double zone = 0.0;       // hours ahead of UT
    int year = 0;
};

// The places of the accuracy table: 0 to 65 degrees of latitude north and
// south, east and west longitudes, fractional zones, each with one year
// from 1990 to 2030 for the quick check of the tests; and two places beyond
// the polar circles.
const std::vector<AccuracyPlace>& AccuracyPlaces();

// The years every place of the table is compared in: 1900, 1910, ... 2100,
// the span of the reference's DeltaT table.
inline constexpr int kAccuracyFirstYear = 1900;
inline constexpr int kAccuracyLastYear = 2100;
inline constexpr int kAccuracyYearStep = 10;

// Days this close to a day without a rising or a setting in the reference
// count as next to a polar season, where the moments move by minutes from
// one day to the next and the differences grow.
inline constexpr int kNextToPolarSeasonDays = 5;

struct PlaceComparison {
    AccuracyPlace place;
    int days = 0;
    // Engine minus reference, seconds, for every sunrise and every sunset
    // that both have, in date order, sunrise before sunset: on the days
    // away from a polar season, and on the days next to one.
    std::vector<double> differences;
    std::vector<double> nextToPolarSeason;
    // Moments of the engine that the reference gives for no date: the
    // crossing it finds on the date is another one (the reference gives
    // only the first rising and the last setting of each date).
    int unmatched = 0;
    double median = 0.0;   // of the absolute differences away from a polar season
    double largest = 0.0;  // of the absolute differences away from a polar season
    // Days of the year (1 = 1 January) without a rising or without a
    // setting, for the engine and for the reference.
    std::vector<int> engineWithout;
    std::vector<int> referenceWithout;
    // Days on which the two disagree about that and which do not lie next
    // to a change in the reference's own answer: the disagreements beyond
    // one day at each edge of a polar period.
    std::vector<int> kindDisagreements;
};

// Compares ComputeSunEvents with ComputeReferenceSunEvents on every day of
// the place's year, both given the same single-precision coordinates.
// The engine's times are taken before the summer-time shift and before
// rounding to seconds.
PlaceComparison ComparePlaceYear(const AccuracyPlace& place);

// One place over the years kAccuracyFirstYear to kAccuracyLastYear in steps
// of kAccuracyYearStep (the place's own year is not used).
struct PlaceYearsComparison {
    AccuracyPlace place;
    std::vector<PlaceComparison> years;
    double median = 0.0;     // of all absolute differences away from a polar season
    double largest = 0.0;    // of the same
    int largestYear = 0;     // the year it occurs in
    double nextToPolarMedian = 0.0;   // of the absolute differences next to a polar season
    double nextToPolarLargest = 0.0;
    int nextToPolarLargestYear = 0;
    size_t nextToPolarCount = 0;
    size_t engineWithout = 0;     // days without rising or setting, all years together
    size_t referenceWithout = 0;
    size_t kindDisagreements = 0;
    size_t unmatched = 0;
};

PlaceYearsComparison ComparePlaceYears(const AccuracyPlace& place);
std::vector<PlaceYearsComparison> CompareAccuracyPlaces();

// The table in Markdown: per place the median and the largest difference in
// seconds over the years, away from the polar seasons, and the days without
// a rising or a setting; then one line for all places up to 65 degrees and
// one for the days next to the polar seasons.
std::string AccuracyTable(const std::vector<PlaceYearsComparison>& comparisons);
