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
};

struct SunEvents {
    float sunrise = 0.0f;  // decimal hours of zone time; meaningful only for Normal
    float sunset = 0.0f;
    DayKind kind = DayKind::Normal;
};

// year, month 1-12, day 1-31; longitude east positive and latitude north
// positive, in decimal degrees; zone in hours ahead of Greenwich.
SunEvents ComputeSunEvents(int16_t year, uint8_t month, uint8_t day, float longitude,
                           float latitude, float zone);
