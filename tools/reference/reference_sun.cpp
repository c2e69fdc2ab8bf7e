#include "tools/reference/reference_sun.h"

#include "tools/reference/delta_t.h"

#include <erfa.h>
#include <erfam.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

constexpr double kScanStep = 1.0 / 6.0;               // hours: 10 minutes
constexpr double kTolerance = 0.01 / 3600.0;          // hours: 0.01 s
constexpr double kFirstBracket = 0.5 / 3600.0;        // hours: half a second
constexpr double kExtremumSearchBand = 0.5;           // degrees from the altitude

double YearOfMjd(double mjd) { return 2000.0 + (mjd - 51544.0) / 365.25; }

// Brent's method for a root of f inside [a, b], where fa = f(a) and
// fb = f(b) have opposite signs; returns within tol of the root.
template <class F>
double BrentRoot(const F& f, double a, double b, double fa, double fb, double tol) {
    double c = b, fc = fb, d = b - a, e = d;
    for (int iteration = 0; iteration < 200; ++iteration) {
        if ((fb > 0.0 && fc > 0.0) || (fb < 0.0 && fc < 0.0)) {
            c = a;
            fc = fa;
            d = e = b - a;
        }
        if (std::fabs(fc) < std::fabs(fb)) {
            a = b; b = c; c = a;
            fa = fb; fb = fc; fc = fa;
        }
        const double tol1 = 2.0 * std::numeric_limits<double>::epsilon() * std::fabs(b) + 0.5 * tol;
        const double xm = 0.5 * (c - b);
        if (std::fabs(xm) <= tol1 || fb == 0.0) return b;
        if (std::fabs(e) >= tol1 && std::fabs(fa) > std::fabs(fb)) {
            const double s = fb / fa;
            double p, q;
            if (a == c) {
                p = 2.0 * xm * s;
                q = 1.0 - s;
            } else {
                const double qa = fa / fc, r = fb / fc;
                p = s * (2.0 * xm * qa * (qa - r) - (b - a) * (r - 1.0));
                q = (qa - 1.0) * (r - 1.0) * (s - 1.0);
            }
            if (p > 0.0) q = -q;
            p = std::fabs(p);
            if (2.0 * p < std::min(3.0 * xm * q - std::fabs(tol1 * q), std::fabs(e * q))) {
                e = d;
                d = p / q;
            } else {
                d = xm;
                e = d;
            }
        } else {
            d = xm;
            e = d;
        }
        a = b;
        fa = fb;
        b += std::fabs(d) > tol1 ? d : std::copysign(tol1, xm);
        fb = f(b);
    }
    return b;
}

struct Extremum {
    double at;
    double value;
};

// Golden-section search for the extremum of f in [a, b] (a maximum when
// maximum is true), to kTolerance.
template <class F>
Extremum GoldenExtremum(const F& f, double a, double b, bool maximum) {
    const double g = 0.5 * (std::sqrt(5.0) - 1.0);
    const double sign = maximum ? 1.0 : -1.0;
    double x1 = b - g * (b - a), x2 = a + g * (b - a);
    double f1 = sign * f(x1), f2 = sign * f(x2);
    while (b - a > kTolerance) {
        if (f1 > f2) {
            b = x2; x2 = x1; f2 = f1;
            x1 = b - g * (b - a); f1 = sign * f(x1);
        } else {
            a = x1; x1 = x2; f1 = f2;
            x2 = a + g * (b - a); f2 = sign * f(x2);
        }
    }
    return f1 > f2 ? Extremum{x1, sign * f1} : Extremum{x2, sign * f2};
}

// The Sun over one day of zone time. Hours h count from 0h zone time of the
// date. The full model is the ERFA chain; the track is a quadratic through
// the apparent places at 0h, 12h and 24h, with sidereal time taken exactly
// as the Earth rotation angle plus an interpolated equation of the origins.
class SunDay {
public:
    SunDay(double startMjd, double longitude, double latitude)
        : start_(startMjd), longitude_(longitude), latitude_(latitude) {
        for (size_t k = 0; k < nodes_.size(); ++k) {
            const double mjd = start_ + 0.5 * static_cast<double>(k);
            const SunPlace place = ApparentSunPlace(mjd);
            nodes_[k] = {place.rightAscension, place.declination,
                         eraAnpm(place.siderealTime - eraEra00(ERFA_DJM0, mjd))};
        }
        // Keep the right ascensions continuous across 0h.
        for (size_t k : {size_t{0}, size_t{2}}) {
            nodes_[k][0] = nodes_[1][0] + eraAnpm(nodes_[k][0] - nodes_[1][0]);
        }
    }

    // Altitude above ReferenceAltitude, degrees, on the full model.
    double Full(double hours) const {
        return SunAltitude(ApparentSunPlace(Mjd(hours)), longitude_, latitude_) - ReferenceAltitude;
    }

    // The same on the track.
    double Track(double hours) const {
        const double x = hours / 12.0;
        const double l0 = 0.5 * (x - 1.0) * (x - 2.0), l1 = -x * (x - 2.0), l2 = 0.5 * x * (x - 1.0);
        std::array<double, 3> v{};
        for (size_t i = 0; i < v.size(); ++i) {
            v[i] = l0 * nodes_[0][i] + l1 * nodes_[1][i] + l2 * nodes_[2][i];
        }
        const SunPlace place{v[0], v[1], eraEra00(ERFA_DJM0, Mjd(hours)) + v[2]};
        return SunAltitude(place, longitude_, latitude_) - ReferenceAltitude;
    }

    // The crossing inside [a, b] (a sign change of the track), refined on
    // the full model.
    double Crossing(double a, double b) const {
        const auto track = [this](double h) { return Track(h); };
        const double guess = BrentRoot(track, a, b, Track(a), Track(b), kTolerance);
        const auto full = [this](double h) { return Full(h); };
        for (double half = kFirstBracket; half < b - a; half *= 4.0) {
            const double lo = std::max(a, guess - half), hi = std::min(b, guess + half);
            const double flo = Full(lo), fhi = Full(hi);
            if ((flo > 0.0) != (fhi > 0.0)) return BrentRoot(full, lo, hi, flo, fhi, kTolerance);
        }
        const double fa = Full(a), fb = Full(b);
        if ((fa > 0.0) != (fb > 0.0)) return BrentRoot(full, a, b, fa, fb, kTolerance);
        return guess;  // the full model grazes where the track crosses
    }

private:
    double Mjd(double hours) const { return start_ + hours / 24.0; }

    double start_;
    double longitude_;
    double latitude_;
    std::array<std::array<double, 3>, 3> nodes_{};  // right ascension, declination, equation of the origins
};

struct Bracket {
    double a;
    double b;
    bool rising;
};

}  // namespace

SunPlace ApparentSunPlace(double mjd) {
    const double tt = mjd + DeltaT(YearOfMjd(mjd)) / ERFA_DAYSEC;
    double pvh[2][3], pvb[2][3];
    eraEpv00(ERFA_DJM0, tt, pvh, pvb);

    // Geocentric Sun, retarded by the light time: the Sun moves about the
    // barycentre with the velocity Earth's barycentric minus heliocentric.
    double sunVelocity[3];
    eraPmp(pvb[1], pvh[1], sunVelocity);
    double p[3];
    eraSxp(-1.0, pvh[0], p);
    for (int pass = 0; pass < 2; ++pass) {
        const double lightDays = eraPm(p) * ERFA_AULT / ERFA_DAYSEC;
        double retarded[3];
        eraSxp(-1.0, pvh[0], retarded);
        eraPpsp(retarded, -lightDays, sunVelocity, p);
    }
    double distance, direction[3];
    eraPn(p, &distance, direction);

    // Annual aberration from Earth's barycentric velocity in units of c.
    double v[3];
    eraSxp(ERFA_AULT / ERFA_DAYSEC, pvb[1], v);
    const double bm1 = std::sqrt(1.0 - eraPdp(v, v));
    double proper[3];
    eraAb(direction, v, distance, bm1, proper);

    double rnpb[3][3];
    eraPnm06a(ERFA_DJM0, tt, rnpb);
    double ofDate[3];
    eraRxp(rnpb, proper, ofDate);
    double ra, dec;
    eraC2s(ofDate, &ra, &dec);
    return {eraAnp(ra), dec, eraGst06(ERFA_DJM0, mjd, ERFA_DJM0, tt, rnpb)};
}

double SunAltitude(const SunPlace& sun, double longitude, double latitude) {
    const double phi = latitude * ERFA_DD2R;
    const double hourAngle = sun.siderealTime + longitude * ERFA_DD2R - sun.rightAscension;
    const double s = std::sin(phi) * std::sin(sun.declination) +
                     std::cos(phi) * std::cos(sun.declination) * std::cos(hourAngle);
    return std::asin(std::clamp(s, -1.0, 1.0)) * ERFA_DR2D;
}

ReferenceEvents ComputeReferenceSunEvents(int year, int month, int day, double longitude,
                                          double latitude, double zone) {
    double mjd0 = 0.0, mjd = 0.0;
    eraCal2jd(year, month, day, &mjd0, &mjd);
    const SunDay sun(mjd - zone / 24.0, longitude, latitude);

    constexpr int steps = 144;
    std::array<double, steps + 1> f{};
    for (int i = 0; i <= steps; ++i) f[i] = sun.Track(i * kScanStep);

    std::vector<Bracket> brackets;
    for (int i = 0; i < steps; ++i) {
        const double a = i * kScanStep, b = (i + 1) * kScanStep;
        if ((f[i] > 0.0) != (f[i + 1] > 0.0)) {
            brackets.push_back({a, b, f[i + 1] > 0.0});
            continue;
        }
        // A crossing pair hidden between samples: the extremum near sample
        // i or i + 1 reaches across the altitude.
        if (i == 0 || std::fabs(f[i]) > kExtremumSearchBand) continue;
        const bool maximum = f[i] > f[i - 1] && f[i] > f[i + 1];
        const bool minimum = f[i] < f[i - 1] && f[i] < f[i + 1];
        if (!maximum && !minimum) continue;
        if ((f[i - 1] > 0.0) != (f[i] > 0.0)) continue;  // already bracketed
        const auto track = [&sun](double h) { return sun.Track(h); };
        const double lo = a - kScanStep;
        const Extremum extreme = GoldenExtremum(track, lo, b, maximum);
        if ((extreme.value > 0.0) == (f[i] > 0.0)) continue;
        brackets.push_back({lo, extreme.at, maximum});
        brackets.push_back({extreme.at, b, !maximum});
    }
    std::sort(brackets.begin(), brackets.end(),
              [](const Bracket& x, const Bracket& y) { return x.a < y.a; });

    ReferenceEvents events;
    const auto firstRising = std::find_if(brackets.begin(), brackets.end(),
                                          [](const Bracket& x) { return x.rising; });
    const auto lastSetting = std::find_if(brackets.rbegin(), brackets.rend(),
                                          [](const Bracket& x) { return !x.rising; });
    const bool rises = firstRising != brackets.end();
    const bool sets = lastSetting != brackets.rend();
    if (rises) events.sunrise = sun.Crossing(firstRising->a, firstRising->b);
    if (sets) events.sunset = sun.Crossing(lastSetting->a, lastSetting->b);
    if (rises && sets) {
        events.kind = ReferenceDayKind::Normal;
    } else if (rises) {
        events.kind = ReferenceDayKind::RisingOnly;
    } else if (sets) {
        events.kind = ReferenceDayKind::SettingOnly;
    } else {
        events.kind = f[0] > 0.0 ? ReferenceDayKind::PolarDay : ReferenceDayKind::PolarNight;
    }
    return events;
}
