#include "tools/reference/accuracy_comparison.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

namespace {

// The theory, evaluated in single precision, stays within 4.2 s up to 60
// degrees of latitude and 5.1 s up to 65 against a precise ephemeris in
// every tenth year from 1900 to 2030; more than these margins means a fault
// in the engine. After 2030 the differences reach the margins (5.0 s at
// Adelaide in 2040, 6.2 s at Palmer in 2100), so the ordinary places are
// checked up to 2030 only.
double LimitSeconds(double latitude) { return std::fabs(latitude) <= 60.0 ? 5.0 : 6.0; }
constexpr int kLastCheckedYear = 2030;

// Each place in its own year and at both ends of the years checked: up to
// 2030 for the ordinary places, over the whole 1900 to 2100 beyond the polar
// circles, where the days without a rising or a setting agree in every
// tenth year of that span.
std::vector<AccuracyPlace> Places(bool polar) {
    std::vector<AccuracyPlace> chosen;
    for (const AccuracyPlace& place : AccuracyPlaces()) {
        if ((std::fabs(place.latitude) > 65.0) != polar) continue;
        std::vector<int> years = {place.year};
        for (int end : {kAccuracyFirstYear, polar ? kAccuracyLastYear : kLastCheckedYear}) {
            if (end != place.year) years.push_back(end);
        }
        for (int year : years) {
            AccuracyPlace inYear = place;
            inYear.year = year;
            chosen.push_back(inYear);
        }
    }
    return chosen;
}

std::string TestName(const testing::TestParamInfo<AccuracyPlace>& info) {
    std::string name;
    for (char c : info.param.town) {
        if (std::isalnum(static_cast<unsigned char>(c))) name += c;
    }
    return name + std::to_string(info.param.year);
}

std::string DayList(const std::vector<int>& days) {
    std::string text;
    for (int d : days) text += (text.empty() ? "" : ", ") + std::to_string(d);
    return text;
}

void PrintSummary(const PlaceComparison& c) {
    std::printf("%-16s %7.2f %8.2f zone %+5.1f %d: median %.1f s, largest %.1f s over %zu times; "
                "days without rising or setting %zu (reference %zu)\n",
                c.place.town.c_str(), c.place.latitude, c.place.longitude, c.place.zone, c.place.year,
                c.median, c.largest, c.differences.size(), c.engineWithout.size(),
                c.referenceWithout.size());
}

}  // namespace

// Names the place in test listings instead of dumping its bytes.
void PrintTo(const AccuracyPlace& place, std::ostream* out) {
    *out << place.town << " " << place.year;
}

namespace {

class OrdinaryPlace : public testing::TestWithParam<AccuracyPlace> {};
class PolarPlace : public testing::TestWithParam<AccuracyPlace> {};

}  // namespace

TEST_P(OrdinaryPlace, EveryTimeOfTheYearLiesWithinSecondsOfThePreciseReference) {
    const PlaceComparison c = ComparePlaceYear(GetParam());
    PrintSummary(c);
    // Up to 65 degrees the Sun rises and sets every day: both answers must say so.
    EXPECT_TRUE(c.engineWithout.empty()) << "engine: days " << DayList(c.engineWithout);
    EXPECT_TRUE(c.referenceWithout.empty()) << "reference: days " << DayList(c.referenceWithout);
    EXPECT_EQ(c.differences.size(), 2u * static_cast<size_t>(c.days));
    EXPECT_LE(c.largest, LimitSeconds(c.place.latitude))
        << "median " << c.median << " s over " << c.differences.size() << " times";
}

TEST_P(PolarPlace, EngineFindsTheSameDaysWithoutRisingOrSettingGiveOrTakeOneAtEachEdge) {
    const PlaceComparison c = ComparePlaceYear(GetParam());
    PrintSummary(c);
    EXPECT_FALSE(c.referenceWithout.empty());
    EXPECT_TRUE(c.kindDisagreements.empty()) << "days " << DayList(c.kindDisagreements);
}

INSTANTIATE_TEST_SUITE_P(UpTo65Degrees, OrdinaryPlace, testing::ValuesIn(Places(false)), TestName);
INSTANTIATE_TEST_SUITE_P(BeyondThePolarCircles, PolarPlace, testing::ValuesIn(Places(true)), TestName);
