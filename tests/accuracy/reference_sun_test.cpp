#include "tools/reference/reference_sun.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <ostream>

namespace {

constexpr double kHoursPerRadian = 12.0 / std::numbers::pi;
constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;

// Modified Julian Date of a UT instant in 2004, from day number and clock.
double Mjd(int dayNumber, int hour, int minute) { return dayNumber + (hour * 60 + minute) / 1440.0; }

double Hms(int h, int m, int s) { return h + m / 60.0 + s / 3600.0; }

}  // namespace

void PrintTo(ReferenceDayKind kind, std::ostream* out) {
    static const char* const names[] = {"Normal", "PolarDay", "PolarNight", "RisingOnly", "SettingOnly"};
    *out << names[static_cast<int>(kind)];
}

TEST(ReferenceSunPlace, MatchesTheAlmanacAtTheSolsticesAndTheEquinoxOf2004) {
    // Published instants to the minute (UT); in a minute the right ascension
    // moves by under 0.2 s of time and the equinox declination by 1".
    struct Case {
        double mjd;
        double rightAscensionHours;
        double declinationDegrees;
    };
    const Case cases[] = {
        {Mjd(53084, 6, 49), 0.0, 0.0},          // 20 March 06:49
        {Mjd(53177, 0, 57), 6.0, 23.4405},      // 21 June 00:57, declination = true obliquity
        {Mjd(53360, 12, 42), 18.0, -23.4407},   // 21 December 12:42
    };
    for (const Case& c : cases) {
        const SunPlace sun = ApparentSunPlace(c.mjd);
        const double ra = sun.rightAscension * kHoursPerRadian;
        EXPECT_NEAR(std::remainder(ra - c.rightAscensionHours, 24.0), 0.0, 0.0002) << c.mjd;
        EXPECT_NEAR(sun.declination * kDegreesPerRadian, c.declinationDegrees, 0.0005) << c.mjd;
    }
}

TEST(ReferenceSunPlace, GivesTheEquationOfTimeAtItsYearlyExtremes) {
    // Apparent minus mean solar time at 12h UT: +16 min 25 s on 3 November
    // 2004, -14 min 13 s on 11 February 2004.
    struct Case {
        double mjd;
        double seconds;
    };
    const Case cases[] = {{53312.5, 985.0}, {53046.5, -853.0}};
    for (const Case& c : cases) {
        const SunPlace sun = ApparentSunPlace(c.mjd);
        const double hourAngle = std::remainder(sun.siderealTime - sun.rightAscension, 2.0 * std::numbers::pi);
        EXPECT_NEAR(hourAngle * kHoursPerRadian * 3600.0, c.seconds, 3.0) << c.mjd;
    }
}

TEST(ReferenceSunEvents, AgreeWithTheWorkedDaysAt48NorthWithinTheTheorysSeconds) {
    // 48.0 N, 9.0 E, zone 1, 2004, worked with the analytical theory.
    struct Case {
        int month, day;
        double sunrise, sunset;
    };
    const Case cases[] = {
        {5, 17, Hms(4, 48, 21), Hms(19, 53, 13)},
        {6, 21, Hms(4, 30, 39), Hms(20, 21, 2)},
        {12, 21, Hms(8, 17, 23), Hms(16, 27, 13)},
    };
    for (const Case& c : cases) {
        const ReferenceEvents events = ComputeReferenceSunEvents(2004, c.month, c.day, 9.0, 48.0, 1.0);
        ASSERT_EQ(events.kind, ReferenceDayKind::Normal);
        EXPECT_NEAR(events.sunrise, c.sunrise, 4.0 / 3600.0) << c.month << "-" << c.day;
        EXPECT_NEAR(events.sunset, c.sunset, 4.0 / 3600.0) << c.month << "-" << c.day;
    }
}

TEST(ReferenceSunEvents, ReportDaysWithoutRisingOrSettingNorthOfThePolarCircle) {
    // 69.65 N, 18.96 E, zone 1, 2004: on 20 May the Sun still sets before
    // midnight, on 21 May it rises after midnight and does not set again.
    struct Case {
        int month, day;
        ReferenceDayKind kind;
    };
    const Case cases[] = {
        {3, 21, ReferenceDayKind::Normal},      {5, 20, ReferenceDayKind::Normal},
        {5, 21, ReferenceDayKind::RisingOnly},  {6, 21, ReferenceDayKind::PolarDay},
        {12, 21, ReferenceDayKind::PolarNight},
    };
    for (const Case& c : cases) {
        const ReferenceEvents events = ComputeReferenceSunEvents(2004, c.month, c.day, 18.96, 69.65, 1.0);
        EXPECT_EQ(events.kind, c.kind) << c.month << "-" << c.day;
    }
}

TEST(ReferenceSunEvents, FindADipOrAGlimpseShorterThanTheScanStep) {
    // Latitudes at which the Sun's lowest (June) or highest (December)
    // altitude passes the altitude by only 0.001 degrees: the crossings then
    // lie about four minutes apart, inside one 10-minute scan step.
    const double june = ApparentSunPlace(53177.5).declination * kDegreesPerRadian;
    const double december = ApparentSunPlace(53360.5).declination * kDegreesPerRadian;

    // Longitudes that put local midnight (June) and noon (December) near
    // 12:05 UT, between two scan steps. The Sun dips once, briefly:
    const double dipLatitude = 90.0 - june + ReferenceAltitude - 0.001;
    const ReferenceEvents dip = ComputeReferenceSunEvents(2004, 6, 21, 179.0, dipLatitude, 0.0);
    ASSERT_EQ(dip.kind, ReferenceDayKind::Normal);
    EXPECT_NEAR(dip.sunset, 12.08, 0.05);
    EXPECT_GT(dip.sunrise - dip.sunset, 1.0 / 60.0);
    EXPECT_LT(dip.sunrise - dip.sunset, 10.0 / 60.0);

    // and it shows itself once, briefly:
    const double glimpseLatitude = 90.0 + december - ReferenceAltitude - 0.001;
    const ReferenceEvents glimpse = ComputeReferenceSunEvents(2004, 12, 21, -1.75, glimpseLatitude, 0.0);
    ASSERT_EQ(glimpse.kind, ReferenceDayKind::Normal);
    EXPECT_NEAR(glimpse.sunrise, 12.08, 0.05);
    EXPECT_GT(glimpse.sunset - glimpse.sunrise, 1.0 / 60.0);
    EXPECT_LT(glimpse.sunset - glimpse.sunrise, 10.0 / 60.0);
}
