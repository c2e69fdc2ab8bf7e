#include "calc/sun_events.h"

#include "text/numbers.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

// Every quantity stored below is a float; the expressions between two stores
// run in double precision and are rounded when stored. The coefficients are
// single-precision values too (the f suffix), widened to double inside the
// expressions: 36000.77f is 36000.76953125, and the sidereal rate 8640184.812866
// is held as 8640185. The solar theory is
// the analytical one of mean elements with periodic terms, evaluated in
// degrees.

namespace {

// The single-precision value of 3.141592 / 180 (not the float nearest pi/180).
const float kDegree = std::bit_cast<float>(uint32_t{0x3C8EFA33});
// 2 pi as held in single precision: 6.2831855.
constexpr float kTwoPi = 6.2831855f;

double SinDeg(double degrees) { return std::sin(degrees * static_cast<double>(kDegree)); }
double CosDeg(double degrees) { return std::cos(degrees * static_cast<double>(kDegree)); }

// Longitude of the Moon's mean ascending node, degrees (not reduced), at T
// Julian centuries from 2000 January 1.5: the argument of the nutation in
// longitude and of the equation of the equinoxes.
double LunarNodeDegrees(double t) { return 125.045f - 1934.136f * t; }

// x - Int(x), plus 1 when that is negative.
float FractionalPart(float x) {
    float f = static_cast<float>(static_cast<double>(x) - TruncateToInteger(x));
    if (f < 0.0f) f = static_cast<float>(static_cast<double>(f) + 1.0);
    return f;
}

// The angle a, degrees, reduced to [0, 360).
float NormalizeDegrees(float a) {
    return static_cast<float>(360.0 * FractionalPart(static_cast<float>(a / 360.0)));
}

struct Equatorial {
    float rightAscension = 0.0f;  // hours, [0, 24)
    float declination = 0.0f;     // degrees
};

// Apparent right ascension and declination of the Sun at T, Julian
// centuries from 2000 January 1.5.
Equatorial SolarPosition(float t) {
    const double td = t;
    const float node = static_cast<float>(LunarNodeDegrees(td));
    const float obliquity =
        static_cast<float>(23.439291f + (-46.815f * td + 9.2f * CosDeg(node)) / 3600.0);
    const float cosObliquity = static_cast<float>(CosDeg(obliquity));
    const float sinObliquity = static_cast<float>(SinDeg(obliquity));

    const float t1 = static_cast<float>(td + 1.0);  // centuries from 1900
    const double c = t1;
    const float longPeriod = static_cast<float>(
        (1.882f * SinDeg(150.27f * c + 57.24f) + 6.4f * SinDeg(20.2f * c + 231.19f)) / 3600.0);

    const float l0 = NormalizeDegrees(
        static_cast<float>(279.6966f + 36000.77f * c + 0.0003f * c * c + longPeriod));
    const float m = NormalizeDegrees(static_cast<float>(358.4758f + 35999.05f * c));
    const float v = NormalizeDegrees(static_cast<float>(212.45f + 58517.492f * c));
    const float r = NormalizeDegrees(static_cast<float>(319.58f + 19139.977f * c));
    const float j = NormalizeDegrees(
        static_cast<float>(225.28f + 3034.583f * c + 0.361f * SinDeg(39.804f * c + 133.775f)));
    const float e = NormalizeDegrees(static_cast<float>(350.73f + 445267.125f * c));
    const double md = m, vd = v, rd = r, jd = j;

    // Periodic terms, seconds of arc.
    const float centre = static_cast<float>((6910.057f - 17.24f * c) * SinDeg(md) +
                                            72.338f * SinDeg(2.0 * md) + 1.054f * SinDeg(3.0 * md));
    const float venus = static_cast<float>(
        4.838f * CosDeg(vd - md + 299.102f) + 5.526f * CosDeg(2.0 * vd - 2.0 * md + 148.313f) +
        2.497f * CosDeg(2.0 * vd - 3.0 * md + 315.943f) +
        1.559f * CosDeg(3.0 * vd - 4.0 * md + 345.253f) +
        1.024f * CosDeg(3.0 * vd - 5.0 * md + 318.15f));
    const float mars = static_cast<float>(2.043f * CosDeg(2.0 * md - 2.0 * rd + 343.888f) +
                                          1.77f * CosDeg(md - 2.0 * rd + 200.402f));
    const float jupiter = static_cast<float>(
        7.208f * CosDeg(md - jd + 179.532f) + 2.6f * CosDeg(263.217f - jd) +
        2.731f * CosDeg(2.0 * md - 2.0 * jd + 87.145f) + 1.61f * CosDeg(md - 2.0 * jd + 109.493f));
    const float moon = static_cast<float>(6.454f * SinDeg(e));
    const float nutation = static_cast<float>(-17.2f * SinDeg(node));

    const double terms = static_cast<double>(centre) + venus + mars + jupiter + moon + nutation;
    const float lambda = NormalizeDegrees(static_cast<float>(l0 + terms / 3600.0));

    const float x = static_cast<float>(CosDeg(lambda));
    const float y = static_cast<float>(cosObliquity * SinDeg(lambda));
    const float z = static_cast<float>(sinObliquity * SinDeg(lambda));
    const float rho = static_cast<float>(std::sqrt(1.0 - static_cast<double>(z) * z));

    Equatorial position;
    position.declination = static_cast<float>(360.0 / static_cast<double>(kTwoPi) *
                                              std::atan(static_cast<float>(z / rho)));
    // At lambda = 180 degrees exactly, x + rho is 0 in single precision: the
    // quotient is then an infinity of the sign of y, its arc tangent a right
    // angle, and RA 12 h. Formed explicitly, so that no division by zero is
    // ever executed.
    const double denominator = static_cast<double>(x) + rho;
    const float quotient = denominator == 0.0
                               ? std::copysign(std::numeric_limits<float>::infinity(), y)
                               : static_cast<float>(y / denominator);
    float ra = static_cast<float>(48.0 / static_cast<double>(kTwoPi) * std::atan(quotient));
    if (ra < 0.0f) ra = static_cast<float>(ra + 24.0);
    position.rightAscension = ra;
    return position;
}

// Local apparent sidereal time, hours [0, 24], for day number mjd, Universal
// Time ut in hours and longitude in degrees east.
float ApparentSiderealTime(int32_t mjd, float ut, float longitude) {
    const float t0 = static_cast<float>((mjd - 51544.5) / 36525.0);
    const double t = t0;
    const float greenwich = static_cast<float>(
        6.6973743f + 1.0027379f * static_cast<double>(ut) +
        ((0.093104f - 6.2e-6f * t) * t + 8640185.0f) * t / 3600.0);
    const float equinoxes =
        static_cast<float>(SinDeg(LunarNodeDegrees(t)) * (-17.2f) * 0.91748f / 54000.0);
    return static_cast<float>(
        24.0 * FractionalPart(static_cast<float>((static_cast<double>(greenwich) + equinoxes +
                                                  static_cast<double>(longitude) / 15.0) /
                                                 24.0)));
}

struct SemiDiurnal {
    float hours = 0.0f;  // hour angle of the crossing
    DayKind kind = DayKind::Normal;
};

// Hour angle, in hours, at which the Sun's centre stands at altitude h0
// (degrees) for latitude phi and declination delta (degrees). Where
// |c| > 1 the Sun does not reach h0: c > 1 means it stays below (polar
// night), c < -1 above (polar day); the hour angle is then held at its
// limit, 0 h or 12 h.
SemiDiurnal SemiDiurnalArc(float phi, float delta, float h0) {
    float c = static_cast<float>((SinDeg(h0) - SinDeg(phi) * SinDeg(delta)) /
                                 (CosDeg(phi) * CosDeg(delta)));
    SemiDiurnal arc;
    if (!(c <= 1.0f)) {  // NaN too, though none arises from checked input
        arc.kind = DayKind::PolarNight;
        c = 1.0f;
    } else if (c < -1.0f) {
        arc.kind = DayKind::PolarDay;
        c = -1.0f;
    }
    const float angle = std::asin(c);  // float argument, float result
    arc.hours = static_cast<float>((90.0 - 360.0 / static_cast<double>(kTwoPi) * angle) / 15.0);
    return arc;
}

// Hours brought within +-12 h by adding or taking off a whole day (exactly
// +-12 stays). Used for the hour angle and for every correction after the
// first sunrise pass: once the estimate is near its event a correction
// stays small, except where tau wraps from +12 h to -12 h between two
// passes (near local midnight, when the Sun barely dips below the altitude
// or stays above it), and the plain difference would then throw the
// estimate a whole day off.
double WithinHalfDay(double hours) {
    if (hours > 12.0) return hours - 24.0;
    if (hours < -12.0) return hours + 24.0;
    return hours;
}

// The hour angle tau = S - RA, hours, within +-12 h, of the sidereal time S
// and the right ascension RA (hours).
float HourAngle(float siderealTime, float rightAscension) {
    const float tau = static_cast<float>(static_cast<double>(siderealTime) - rightAscension);
    return static_cast<float>(WithinHalfDay(tau));
}

struct Pass {
    float tau = 0.0f;
    SemiDiurnal arc;
};

// One pass of the solar theory at Universal Time ut (hours) of the date
// whose day number is mjd, for longitude east positive and latitude north
// positive (degrees).
Pass SolvePass(int32_t mjd, float ut, float longitude, float latitude) {
    const float t = static_cast<float>((mjd - 51544.5 + ut / 24.0) / 36525.0);
    const Equatorial sun = SolarPosition(t);
    const float s = ApparentSiderealTime(mjd, ut, longitude);
    Pass pass;
    pass.tau = HourAngle(s, sun.rightAscension);
    pass.arc = SemiDiurnalArc(latitude, sun.declination, HorizonAltitude);
    return pass;
}

}  // namespace

int32_t ModifiedJulianDay(int16_t year, uint8_t month, uint8_t day) {
    int32_t y = year;
    int32_t m = month;
    const int32_t date = y * 10000 + m * 100 + day;
    if (m <= 2) {
        m += 12;
        y -= 1;
    }
    int32_t b;
    if (date <= 15821004) {
        b = TruncateToInteger(static_cast<float>(y + 4716) / 4.0f) - 1181;
    } else {
        b = TruncateToInteger(static_cast<float>(y) / 400.0f) -
            TruncateToInteger(static_cast<float>(y) / 100.0f) +
            TruncateToInteger(static_cast<float>(y) / 4.0f);
    }
    return 365 * y - 679004 + b + TruncateToInteger(30.6001 * (m + 1)) + day;
}

SunEvents ComputeSunEvents(int16_t year, uint8_t month, uint8_t day, float longitude,
                           float latitude, float zone) {
    SunEvents events;
    const int32_t mjd = ModifiedJulianDay(year, month, day);  // every pass is on this date
    float ut = static_cast<float>(6.0 - zone);  // 06:00 zone time
    float h = 0.0f;
    for (int i = 0; i < 3; ++i) {
        const Pass pass = SolvePass(mjd, ut, longitude, latitude);
        h = pass.arc.hours;
        double correction = -static_cast<double>(h) - pass.tau;
        if (i > 0) correction = WithinHalfDay(correction);  // the first pass picks the day
        ut = static_cast<float>(ut + correction);
        events.sunrise = static_cast<float>(static_cast<double>(ut) + zone);
        events.sunriseKind = pass.arc.kind;
    }
    ut = static_cast<float>(ut + 2.0 * h);
    for (int i = 0; i < 2; ++i) {
        const Pass pass = SolvePass(mjd, ut, longitude, latitude);
        h = pass.arc.hours;
        ut = static_cast<float>(ut + WithinHalfDay(static_cast<double>(h) - pass.tau));
        events.sunset = static_cast<float>(static_cast<double>(ut) + zone);
        events.sunsetKind = pass.arc.kind;
    }
    events.kind = events.sunsetKind != DayKind::Normal ? events.sunsetKind : events.sunriseKind;
    return events;
}
