// The precise reference for the two daily moments: the instants at which the
// Sun's centre crosses ReferenceAltitude of geocentric altitude (no
// refraction, no semi-diameter, no parallax), from the IAU 2006/2000A models
// as ERFA implements them.
#pragma once

#include <vector>

// Degrees above the geocentric horizon.
inline constexpr double ReferenceAltitude = 0.002444;

// The Sun's apparent geocentric place at one instant.
struct SunPlace {
    double rightAscension = 0.0;  // radians, 0 to 2 pi, true equator and equinox of date
    double declination = 0.0;     // radians
    double siderealTime = 0.0;    // Greenwich apparent sidereal time, radians 0 to 2 pi
};

// The apparent place of the Sun at the instant mjd (Modified Julian Date of
// UT1, days). Earth's heliocentric and barycentric position and velocity
// from eraEpv00 at TT = UT1 + DeltaT, the Sun's position retarded by the
// light time, annual aberration (eraAb), then the bias-precession-nutation
// matrix of eraPnm06a; sidereal time from eraGst06 with the same matrix.
// TDB is taken as TT (they differ by under 2 ms).
SunPlace ApparentSunPlace(double mjd);

// Altitude of the Sun's centre, in degrees, above the geocentric horizon of
// a place (longitude east positive, latitude north positive, degrees), from
// asin(sin phi sin delta + cos phi cos delta cos H).
double SunAltitude(const SunPlace& sun, double longitude, double latitude);

// How the Sun meets ReferenceAltitude during one day of zone time.
enum class ReferenceDayKind {
    Normal,       // it rises and sets
    PolarDay,     // above the altitude all day, no crossing
    PolarNight,   // below the altitude all day, no crossing
    RisingOnly,   // crosses upward, but the setting falls on another day
    SettingOnly,  // crosses downward, but the rising falls on another day
};

struct ReferenceEvents {
    double sunrise = 0.0;  // decimal hours of zone time, meaningful for Normal and RisingOnly
    double sunset = 0.0;   // decimal hours of zone time, meaningful for Normal and SettingOnly
    ReferenceDayKind kind = ReferenceDayKind::Normal;
    bool HasSunrise() const { return kind == ReferenceDayKind::Normal || kind == ReferenceDayKind::RisingOnly; }
    bool HasSunset() const { return kind == ReferenceDayKind::Normal || kind == ReferenceDayKind::SettingOnly; }
};

// The first upward and the last downward crossing of ReferenceAltitude
// within the day from 0h to 24h zone time of the date (Gregorian year,
// month 1-12, day 1-31), for a place (longitude east positive, latitude
// north positive, degrees) and a zone (hours ahead of UT1).
// The crossings are bracketed by a scan at 10-minute steps on a quadratic
// track through three apparent places of the day (its error is below
// 0.01"); an extremum of the altitude between two steps is searched as
// well, so a short dip under or rise over the altitude is not missed. Each
// moment is then refined on the full model by Brent's method to 0.01 s.
ReferenceEvents ComputeReferenceSunEvents(int year, int month, int day, double longitude,
                                          double latitude, double zone);
