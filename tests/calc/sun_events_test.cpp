#include "calc/sun_events.h"
#include "calc/year_run.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>

namespace {

constexpr double kThreeSeconds = 3.0 / 3600.0;

TEST(ModifiedJulianDay, CountsDaysAcrossBothCalendarsAndTheLeapDay) {
    const struct {
        int16_t year;
        uint8_t month, day;
        int32_t expected;
    } cases[] = {
        {2000, 1, 1, 51544},     {1858, 11, 17, 0},     {1582, 10, 4, -100841},
        {1582, 10, 15, -100840}, {2004, 5, 17, 53142},  {2004, 2, 29, 53064},
        {2004, 3, 1, 53065},     {2003, 2, 28, 52698},  {2003, 3, 1, 52699},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ModifiedJulianDay(c.year, c.month, c.day), c.expected)
            << c.year << "-" << int{c.month} << "-" << int{c.day};
}

TEST(SunEvents, ReferenceDaysAt48North9EastComeOutWithinThreeSeconds) {
    const struct {
        uint8_t month, day;
        double sunrise, sunset;  // 04:48:21 and 19:53:13 ...
    } cases[] = {
        {5, 17, 4 + 48 / 60.0 + 21 / 3600.0, 19 + 53 / 60.0 + 13 / 3600.0},
        {6, 21, 4 + 30 / 60.0 + 39 / 3600.0, 20 + 21 / 60.0 + 2 / 3600.0},
        {12, 21, 8 + 17 / 60.0 + 23 / 3600.0, 16 + 27 / 60.0 + 13 / 3600.0},
    };
    for (const auto& c : cases) {
        const SunEvents e = ComputeSunEvents(2004, c.month, c.day, 9.0f, 48.0f, 1.0f);
        EXPECT_EQ(e.kind, DayKind::Normal);
        EXPECT_NEAR(e.sunrise, c.sunrise, kThreeSeconds) << int{c.month} << "/" << int{c.day};
        EXPECT_NEAR(e.sunset, c.sunset, kThreeSeconds) << int{c.month} << "/" << int{c.day};
    }
}

// The coefficients of the solar theory are single-precision values; taken as
// doubles they move each of these sunrises by 2 to 10 seconds.
TEST(SunEvents, TimingsFollowTheSinglePrecisionCoefficientsToTheSecond) {
    const struct {
        int16_t year;
        uint8_t month, day;
        float longitude, latitude, zone;
        const char* entry;
    } cases[] = {
        {2020, 12, 20, -163.0f, 35.0f, -11.0f, "70037 43927"},
        {2030, 8, 6, -160.0f, 58.0f, -11.0f, "35214 73804"},
        {2400, 12, 8, 60.0f, 37.0f, 4.0f, "70430 43741"},
    };
    for (const auto& c : cases) {
        const SunEvents e =
            ComputeSunEvents(c.year, c.month, c.day, c.longitude, c.latitude, c.zone);
        EXPECT_EQ(TimeCell(e.sunrise, 0) + " " + TimeCell(e.sunset, 12), c.entry) << c.year;
    }
}

TEST(SunEvents, AFarEasternZoneStartingOnThePreviousDayFindsTheSameMoments) {
    // At 139.7 E, zone +9 starts the iteration at UT -3 h, zone 0 at UT 6 h.
    const SunEvents nine = ComputeSunEvents(2004, 5, 17, 139.7f, 35.7f, 9.0f);
    const SunEvents zero = ComputeSunEvents(2004, 5, 17, 139.7f, 35.7f, 0.0f);
    EXPECT_NEAR(nine.sunrise, zero.sunrise + 9.0, kThreeSeconds);
    EXPECT_NEAR(nine.sunset, zero.sunset + 9.0, kThreeSeconds);
    EXPECT_GT(nine.sunrise, 4.0f);
    EXPECT_LT(nine.sunset, 19.0f);
}

TEST(SunEvents, SaysPolarDayAndPolarNightAt69NorthAroundTheSolstices) {
    for (uint8_t day : {10, 21, 30}) {
        const SunEvents june = ComputeSunEvents(2004, 6, day, 18.96f, 69.65f, 1.0f);
        EXPECT_EQ(june.sunriseKind, DayKind::PolarDay) << int{day};
        EXPECT_EQ(june.sunsetKind, DayKind::PolarDay) << int{day};
        const SunEvents december = ComputeSunEvents(2004, 12, day, 18.96f, 69.65f, 1.0f);
        EXPECT_EQ(december.sunriseKind, DayKind::PolarNight) << int{day};
        EXPECT_EQ(december.sunsetKind, DayKind::PolarNight) << int{day};
    }
    EXPECT_EQ(ComputeSunEvents(2004, 6, 21, 18.96f, -69.65f, 1.0f).kind, DayKind::PolarNight);
    EXPECT_EQ(ComputeSunEvents(2004, 12, 21, 18.96f, -69.65f, 1.0f).kind, DayKind::PolarDay);
}

// Every time given beyond the polar circle belongs to its own date: none
// slides into the day before or after as polar day or night begins or ends,
// and no arc sine or quotient of the solver is ever undefined.
TEST(SunEvents, EveryTimeBeyondThePolarCircleBelongsToItsOwnDate) {
    const double localMeanOffset = -1.0 + 18.96 / 15.0;
    std::feclearexcept(FE_ALL_EXCEPT);
    for (float latitude : {67.0f, 69.65f, 78.2f, 89.9f}) {
        int polar = 0;
        for (uint8_t month = 1; month <= 12; ++month) {
            for (uint8_t day = 1; day <= 28; ++day) {
                const SunEvents e = ComputeSunEvents(2004, month, day, 18.96f, latitude, 1.0f);
                const double rise = e.sunrise + localMeanOffset, set = e.sunset + localMeanOffset;
                if (e.sunriseKind == DayKind::Normal) {
                    EXPECT_TRUE(rise > -1.0 && rise < 13.0) << latitude << " " << int{month} << "/" << int{day};
                }
                if (e.sunsetKind == DayKind::Normal) {
                    EXPECT_TRUE(set > 11.0 && set < 25.0) << latitude << " " << int{month} << "/" << int{day};
                }
                polar += e.kind != DayKind::Normal;
            }
        }
        EXPECT_GT(polar, 0) << latitude;
    }
    EXPECT_EQ(std::fetestexcept(FE_INVALID | FE_DIVBYZERO), 0);
}

}  // namespace
