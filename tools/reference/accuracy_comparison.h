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
// south, east and west longitudes, fractional zones, years from 1990 to
// 2030; and two places beyond the polar circles.
const std::vector<AccuracyPlace>& AccuracyPlaces();

struct PlaceComparison {
    AccuracyPlace place;
    int days = 0;
    // Engine minus reference, seconds, for every sunrise and every sunset
    // that both have, in date order, sunrise before sunset.
    std::vector<double> differences;
    double median = 0.0;   // of the absolute differences
    double largest = 0.0;  // of the absolute differences
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

std::vector<PlaceComparison> CompareAccuracyPlaces();

// The table in Markdown: per place the median and the largest difference
// in seconds, and the days without a rising or a setting.
std::string AccuracyTable(const std::vector<PlaceComparison>& comparisons);
