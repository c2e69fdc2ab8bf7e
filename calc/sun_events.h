// Sunrise and sunset of one day: the moments the Sun's centre crosses
// HorizonAltitude above the true geocentric horizon (no refraction, no
// semi-diameter), in decimal hours of zone time, without summer time.
//
// Source: an analytical solar theory of mean elements (the Sun, Venus,
// Mars, Jupiter and the Moon) with periodic perturbation terms, nutation and
// obliquity, giving the apparent right ascension and declination; apparent
// local sidereal time; a fixed count of passes on Universal Time that drive
// the hour angle to that of the crossing. Every quantity is single precision.
//
// Range: years 1 to 32767 are accepted (what the input checks let through)
// and give a finite result. Accuracy is measured for 1900 to 2100 against a
// precise ephemeris (the accuracy tests): within 4.2 s up to 60 degrees of
// latitude and 5.1 s up to 65 until 2030, growing to about 6 s by 2100.
// Outside 1900 to 2100 the theory's terms drift and no accuracy is claimed.
#pragma once

#include <cstdint>

// Degrees; stored as the single value 0.002443999983.
inline constexpr float HorizonAltitude = 0.002444f;

// Whether the Sun reaches HorizonAltitude on the day at all.
enum class DayKind {
    Normal,      // it rises and sets
    PolarDay,    // it stays above the altitude all day
    PolarNight,  // it stays below the altitude all day
    OtherDate,   // a time zone's clock far from the longitude puts the event on a neighbouring date
};

// Each event is judged by the last pass of its own iteration (three for the
// sunrise, two for the sunset): when the Sun cannot reach the altitude at
// the time that pass arrived at, the event has no time and its kind says
// whether the Sun stays above or below. A pass that finds no crossing goes
// on with the hour angle at its limit, 0 h (Sun below) or 12 h (Sun above),
// so the iteration never carries an undefined value. Every correction after
// the first sunrise pass is brought within +-12 h, so that an estimate near
// local midnight, where the hour angle wraps, never slides into the day
// before or after. Ordinary places never meet either case.
// Near the first and last polar days one event may exist without the
// other; kind is then the polar kind of the missing one.
struct SunEvents {
    float sunrise = 0.0f;  // decimal hours of zone time; meaningful only for Normal
    float sunset = 0.0f;
    DayKind kind = DayKind::Normal;          // Normal only when both events exist
    DayKind sunriseKind = DayKind::Normal;   // Normal when sunrise is a time
    DayKind sunsetKind = DayKind::Normal;    // Normal when sunset is a time
};

// Given:
//   year       calendar year, 1 to 32767 (see Range above)
//   month      1 to 12
//   day        1 to the month's length
//   longitude  decimal degrees, east positive
//   latitude   decimal degrees, north positive
//   zone       hours of zone time ahead of Greenwich (fractions allowed)
// Returned: the two events in decimal hours of zone time, and their kinds.
SunEvents ComputeSunEvents(int16_t year, uint8_t month, uint8_t day, float longitude,
                           float latitude, float zone);

// Day number at 0h Universal Time of a date (Julian calendar up to
// 4 October 1582, Gregorian from 15 October 1582): 51544 for 1 January 2000,
// 0 for 17 November 1858. Source: the usual Julian-day formula, its
// quotients truncated in single precision, which are exact for years 1 to
// 32767; the dates 5 to 14 October 1582 are not rejected.
int32_t ModifiedJulianDay(int16_t year, uint8_t month, uint8_t day);
