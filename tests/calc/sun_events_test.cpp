#include "calc/sun_events.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

double Hours(int h, int m, int s) { return h + m / 60.0 + s / 3600.0; }

constexpr double kThreeSeconds = 3.0 / 3600.0;

TEST(ModifiedJulianDay, CountsDaysFromSeventeenthNovember1858AcrossBothCalendars) {
    struct Case {
        int16_t year;
        uint8_t month, day;
        int32_t expected;
    };
    const Case cases[] = {
        {2000, 1, 1, 51544},   {1858, 11, 17, 0},      {1582, 10, 4, -100841},
        {1582, 10, 15, -100840}, {2004, 5, 17, 53142}, {2004, 2, 29, 53064},
        {2004, 3, 1, 53065},   {2003, 2, 28, 52698},   {2003, 3, 1, 52699},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ModifiedJulianDay(c.year, c.month, c.day), c.expected)
            << c.year << "-" << int{c.month} << "-" << int{c.day};
}

// 48.0 N, 9.0 E, zone 1, in 2004: the reference days of the timetables.
TEST(SunEvents, ReferenceDaysAt48North9EastComeOutWithinThreeSeconds) {
    struct Case {
        uint8_t month, day;
        double sunrise, sunset;
    };
    const Case cases[] = {
        {5, 17, Hours(4, 48, 21), Hours(19, 53, 13)},
        {6, 21, Hours(4, 30, 39), Hours(20, 21, 2)},
        {12, 21, Hours(8, 17, 23), Hours(16, 27, 13)},
    };
    for (const Case& c : cases) {
        const SunEvents e = ComputeSunEvents(2004, c.month, c.day, 9.0f, 48.0f, 1.0f);
        EXPECT_EQ(e.kind, DayKind::Normal);
        EXPECT_NEAR(e.sunrise, c.sunrise, kThreeSeconds) << int{c.month} << "/" << int{c.day};
        EXPECT_NEAR(e.sunset, c.sunset, kThreeSeconds) << int{c.month} << "/" << int{c.day};
    }
}

TEST(SunEvents, AFarEasternZoneStillGivesThatDatesTimes) {
    // At 139.7 E, zone +9 starts the iteration at UT -3 h, on the previous
    // day; zone 0 starts it at UT 6 h. Both find the same two moments.
    const SunEvents nine = ComputeSunEvents(2004, 5, 17, 139.7f, 35.7f, 9.0f);
    const SunEvents zero = ComputeSunEvents(2004, 5, 17, 139.7f, 35.7f, 0.0f);
    EXPECT_NEAR(nine.sunrise, zero.sunrise + 9.0, kThreeSeconds);
    EXPECT_NEAR(nine.sunset, zero.sunset + 9.0, kThreeSeconds);
    EXPECT_GT(nine.sunrise, 4.0f);
    EXPECT_LT(nine.sunset, 19.0f);
}

TEST(SunEvents, LocalNoonFollowsLongitudeAndZone) {
    for (float side : {1.0f, -1.0f}) {
        const SunEvents e = ComputeSunEvents(2004, 4, 15, side * 15.0f, 30.0f, side);
        // Mid-April the equation of time is near zero.
        EXPECT_NEAR((e.sunrise + e.sunset) / 2.0, 12.0, 0.05) << side;
    }
}

TEST(SunEvents, SouthernDaysAreShortInJuneAndLongInDecember) {
    const SunEvents june = ComputeSunEvents(2004, 6, 21, 151.2f, -33.9f, 10.0f);
    const SunEvents december = ComputeSunEvents(2004, 12, 21, 151.2f, -33.9f, 10.0f);
    EXPECT_LT(june.sunset - june.sunrise, 10.0f);
    EXPECT_GT(december.sunset - december.sunrise, 14.0f);
}

// 69.65 N, 18.96 E, zone 1: the Sun stays up around the June solstice and
// down around the December one.
TEST(SunEvents, SaysPolarDayAndPolarNightInsteadOfATime) {
    for (uint8_t day : {10, 21, 30}) {
        const SunEvents june = ComputeSunEvents(2004, 6, day, 18.96f, 69.65f, 1.0f);
        EXPECT_EQ(june.kind, DayKind::PolarDay) << int{day};
        EXPECT_EQ(june.sunriseKind, DayKind::PolarDay);
        EXPECT_EQ(june.sunsetKind, DayKind::PolarDay);
        const SunEvents december = ComputeSunEvents(2004, 12, day, 18.96f, 69.65f, 1.0f);
        EXPECT_EQ(december.kind, DayKind::PolarNight) << int{day};
        EXPECT_EQ(december.sunriseKind, DayKind::PolarNight);
        EXPECT_EQ(december.sunsetKind, DayKind::PolarNight);
    }
    // The same place in the south has them the other way round.
    EXPECT_EQ(ComputeSunEvents(2004, 6, 21, 18.96f, -69.65f, 1.0f).kind, DayKind::PolarNight);
    EXPECT_EQ(ComputeSunEvents(2004, 12, 21, 18.96f, -69.65f, 1.0f).kind, DayKind::PolarDay);
}

// Through a whole year beyond the polar circle, every time that is given
// belongs to its own date: none slides into the day before or after when the
// polar day or night begins or ends, and none is undefined.
TEST(SunEvents, EveryTimeBeyondThePolarCircleBelongsToItsOwnDate) {
    for (float latitude : {67.0f, 69.65f, 78.2f, 89.9f}) {
        int polarDays = 0, polarNights = 0;
        for (uint8_t month = 1; month <= 12; ++month) {
            for (uint8_t day = 1; day <= 28; ++day) {
                const SunEvents e = ComputeSunEvents(2004, month, day, 18.96f, latitude, 1.0f);
                ASSERT_TRUE(std::isfinite(e.sunrise) && std::isfinite(e.sunset));
                // Local mean time: zone time - zone + longitude / 15.
                const double offset = -1.0 + 18.96 / 15.0;
                if (e.sunriseKind == DayKind::Normal) {
                    EXPECT_GT(e.sunrise + offset, -1.0) << latitude << " " << int{month} << "/" << int{day};
                    EXPECT_LT(e.sunrise + offset, 13.0) << latitude << " " << int{month} << "/" << int{day};
                }
                if (e.sunsetKind == DayKind::Normal) {
                    EXPECT_GT(e.sunset + offset, 11.0) << latitude << " " << int{month} << "/" << int{day};
                    EXPECT_LT(e.sunset + offset, 25.0) << latitude << " " << int{month} << "/" << int{day};
                }
                if (e.sunriseKind == DayKind::Normal && e.sunsetKind == DayKind::Normal) {
                    EXPECT_LT(e.sunrise, e.sunset);
                }
                polarDays += e.kind == DayKind::PolarDay;
                polarNights += e.kind == DayKind::PolarNight;
                if (e.kind == DayKind::PolarDay) {
                    EXPECT_TRUE(month >= 3 && month <= 10) << latitude << " " << int{month};
                }
                if (e.kind == DayKind::PolarNight) {
                    EXPECT_TRUE(month <= 4 || month >= 9) << latitude << " " << int{month};
                }
            }
        }
        EXPECT_GT(polarDays, 0) << latitude;
        EXPECT_GT(polarNights, 0) << latitude;
    }
}

}  // namespace
