// Sunrise and sunset of one day: the moments the Sun's centre crosses
// HorizonAltitude above the true geocentric horizon (no refraction, no
// semi-diameter), in decimal hours of zone time, without summer time.
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

// year, month 1-12, day 1-31; longitude east positive and latitude north
// positive, in decimal degrees; zone in hours ahead of Greenwich.
SunEvents ComputeSunEvents(int16_t year, uint8_t month, uint8_t day, float longitude,
                           float latitude, float zone);

// Day number at 0h Universal Time of a date (Julian calendar up to
// 4 October 1582, Gregorian from 15 October 1582): 51544 for 1 January 2000,
// 0 for 17 November 1858.
int32_t ModifiedJulianDay(int16_t year, uint8_t month, uint8_t day);
