#include "tools/reference/accuracy_comparison.h"

#include "calc/sun_events.h"
#include "tools/reference/month_length.h"
#include "tools/reference/reference_sun.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

double Median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    const size_t n = values.size();
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(n / 2), values.end());
    const double upper = values[n / 2];
    if (n % 2 == 1) return upper;
    return 0.5 * (upper + *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(n / 2)));
}

std::vector<double> Magnitudes(const std::vector<double>& values) {
    std::vector<double> magnitudes;
    for (double v : values) magnitudes.push_back(std::fabs(v));
    return magnitudes;
}

double Largest(const std::vector<double>& magnitudes) {
    return magnitudes.empty() ? 0.0 : *std::max_element(magnitudes.begin(), magnitudes.end());
}

std::string Degrees(double value, char positive, char negative) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f° %c", std::fabs(value), value < 0.0 ? negative : positive);
    return text;
}

}  // namespace

const std::vector<AccuracyPlace>& AccuracyPlaces() {
    static const std::vector<AccuracyPlace> places = {
        {"Quito", -78.50, 0.00, -5.0, 1990},
        {"Kolkata", 88.36, 22.57, 5.5, 1996},
        {"Adelaide", 138.60, -34.93, 9.5, 2001},
        {"Worked example", 9.00, 48.00, 1.0, 2004},
        {"St John's", -52.71, 47.56, -3.5, 2010},
        {"Punta Arenas", -70.91, -53.16, -4.0, 2016},
        {"Helsinki", 24.94, 60.17, 2.0, 2020},
        {"Reykjavik", -21.94, 64.15, 0.0, 2024},
        {"Palmer", -64.05, -64.77, -3.0, 2030},
        {"Tromso", 18.96, 69.65, 1.0, 2027},
        {"Neumayer", -8.27, -70.67, 0.0, 1999},
    };
    return places;
}

PlaceComparison ComparePlaceYear(const AccuracyPlace& place) {
    PlaceComparison result;
    result.place = place;
    const auto longitude = static_cast<float>(place.longitude);
    const auto latitude = static_cast<float>(place.latitude);
    const auto zone = static_cast<float>(place.zone);
    std::vector<SunEvents> engine;
    std::vector<ReferenceEvents> reference;
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= GregorianMonthLength(place.year, month); ++day) {
            engine.push_back(ComputeSunEvents(static_cast<int16_t>(place.year), static_cast<uint8_t>(month),
                                              static_cast<uint8_t>(day), longitude, latitude, zone));
            reference.push_back(ComputeReferenceSunEvents(place.year, month, day, longitude, latitude, zone));
        }
    }
    const auto n = static_cast<int>(reference.size());
    result.days = n;
    std::vector<bool> referenceNormal, engineNormal;
    for (int i = 0; i < n; ++i) {
        referenceNormal.push_back(reference[i].kind == ReferenceDayKind::Normal);
        engineNormal.push_back(engine[i].kind == DayKind::Normal);
        if (!engineNormal[i]) result.engineWithout.push_back(i + 1);
        if (!referenceNormal[i]) result.referenceWithout.push_back(i + 1);
    }
    for (int i = 0; i < n; ++i) {
        bool nextToPolar = false;
        for (int j = std::max(0, i - kNextToPolarSeasonDays); j <= std::min(n - 1, i + kNextToPolarSeasonDays); ++j)
            nextToPolar = nextToPolar || !referenceNormal[j];
        std::vector<double>& into = nextToPolar ? result.nextToPolarSeason : result.differences;
        // Near a polar season the engine gives a moment that falls on the
        // next or the previous date as hours beyond 24 or below 0, where the
        // reference finds it among that date's crossings.
        auto compare = [&](double hours, bool rising) {
            int j = i;
            if (hours >= 24.0 && i + 1 < n) {
                j = i + 1;
                hours -= 24.0;
            } else if (hours < 0.0 && i > 0) {
                j = i - 1;
                hours += 24.0;
            }
            const ReferenceEvents& r = reference[j];
            if (!(rising ? r.HasSunrise() : r.HasSunset())) return;
            const double seconds = (hours - (rising ? r.sunrise : r.sunset)) * 3600.0;
            if (std::fabs(seconds) > 3600.0) {
                ++result.unmatched;  // the reference's crossing of that date is another one
                return;
            }
            into.push_back(seconds);
        };
        if (engine[i].sunriseKind == DayKind::Normal) compare(engine[i].sunrise, true);
        if (engine[i].sunsetKind == DayKind::Normal) compare(engine[i].sunset, false);
        if (engineNormal[i] == referenceNormal[i]) continue;
        const bool edgeBefore = i > 0 && referenceNormal[i - 1] != referenceNormal[i];
        const bool edgeAfter = i + 1 < n && referenceNormal[i + 1] != referenceNormal[i];
        if (!edgeBefore && !edgeAfter) result.kindDisagreements.push_back(i + 1);
    }
    const std::vector<double> magnitudes = Magnitudes(result.differences);
    result.median = Median(magnitudes);
    result.largest = Largest(magnitudes);
    return result;
}

PlaceYearsComparison ComparePlaceYears(const AccuracyPlace& place) {
    PlaceYearsComparison result;
    result.place = place;
    std::vector<double> all, nextToPolar;
    for (int year = kAccuracyFirstYear; year <= kAccuracyLastYear; year += kAccuracyYearStep) {
        AccuracyPlace inYear = place;
        inYear.year = year;
        PlaceComparison c = ComparePlaceYear(inYear);
        if (c.largest > result.largest || result.largestYear == 0) {
            result.largest = c.largest;
            result.largestYear = year;
        }
        const std::vector<double> near = Magnitudes(c.nextToPolarSeason);
        if (Largest(near) > result.nextToPolarLargest) {
            result.nextToPolarLargest = Largest(near);
            result.nextToPolarLargestYear = year;
        }
        for (double d : c.differences) all.push_back(std::fabs(d));
        nextToPolar.insert(nextToPolar.end(), near.begin(), near.end());
        result.engineWithout += c.engineWithout.size();
        result.referenceWithout += c.referenceWithout.size();
        result.kindDisagreements += c.kindDisagreements.size();
        result.unmatched += static_cast<size_t>(c.unmatched);
        result.years.push_back(std::move(c));
    }
    result.median = Median(all);
    result.nextToPolarMedian = Median(nextToPolar);
    result.nextToPolarCount = nextToPolar.size();
    return result;
}

std::vector<PlaceYearsComparison> CompareAccuracyPlaces() {
    std::vector<PlaceYearsComparison> comparisons;
    for (const AccuracyPlace& place : AccuracyPlaces()) comparisons.push_back(ComparePlaceYears(place));
    return comparisons;
}

std::string AccuracyTable(const std::vector<PlaceYearsComparison>& comparisons) {
    char years[32];
    std::snprintf(years, sizeof years, "%d-%d, every %dth", kAccuracyFirstYear, kAccuracyLastYear,
                  kAccuracyYearStep);
    std::string table =
        "| Place | Latitude | Longitude | Zone | Years | Median (s) | Largest (s) | Year of the largest | Days without rising or setting (program / reference) |\n"
        "|---|---|---|---|---|---|---|---|---|\n";
    char row[512];
    for (const PlaceYearsComparison& c : comparisons) {
        char zone[16];
        std::snprintf(zone, sizeof zone, c.place.zone == 0.0 ? "0" : "%+g", c.place.zone);
        std::snprintf(row, sizeof row, "| %s | %s | %s | %s | %s | %.1f | %.1f | %d | %zu / %zu |\n",
                      c.place.town.c_str(), Degrees(c.place.latitude, 'N', 'S').c_str(),
                      Degrees(c.place.longitude, 'E', 'W').c_str(), zone, years, c.median, c.largest,
                      c.largestYear, c.engineWithout, c.referenceWithout);
        table += row;
    }
    // All places up to 65 degrees together, and the days next to the polar seasons.
    std::vector<double> ordinary, nextToPolar;
    std::string polarTowns, polarLatitudes;
    size_t unmatched = 0;
    double ordinaryLargest = 0.0, polarLargest = 0.0;
    int ordinaryYear = 0, polarYear = 0;
    for (const PlaceYearsComparison& c : comparisons) {
        for (const PlaceComparison& y : c.years) {
            if (std::fabs(c.place.latitude) <= 65.0) {
                for (double d : y.differences) ordinary.push_back(std::fabs(d));
            }
            for (double d : y.nextToPolarSeason) nextToPolar.push_back(std::fabs(d));
        }
        if (std::fabs(c.place.latitude) <= 65.0 && c.largest > ordinaryLargest) {
            ordinaryLargest = c.largest;
            ordinaryYear = c.largestYear;
        }
        unmatched += c.unmatched;
        if (c.nextToPolarCount > 0) {
            polarTowns += (polarTowns.empty() ? "" : ", ") + c.place.town;
            polarLatitudes += (polarLatitudes.empty() ? "" : ", ") + Degrees(c.place.latitude, 'N', 'S');
            if (c.nextToPolarLargest > polarLargest) {
                polarLargest = c.nextToPolarLargest;
                polarYear = c.nextToPolarLargestYear;
            }
        }
    }
    std::snprintf(row, sizeof row, "| All places up to 65° | 0° to 65° | | | %s | %.1f | %.1f | %d | |\n", years,
                  Median(ordinary), ordinaryLargest, ordinaryYear);
    table += row;
    if (!nextToPolar.empty()) {
        std::snprintf(row, sizeof row,
                      "| Within %d days of a polar season (%s) | %s | | | %s | %.1f | %.1f | %d | |\n",
                      kNextToPolarSeasonDays, polarTowns.c_str(), polarLatitudes.c_str(), years,
                      Median(nextToPolar), polarLargest, polarYear);
        table += row;
    }
    std::snprintf(row, sizeof row,
                  "\nFor the places beyond the polar circles the median and the largest count the days more "
                  "than %d days from a polar season; the last line counts the others.\n",
                  kNextToPolarSeasonDays);
    table += row;
    if (unmatched > 0) {
        std::snprintf(row, sizeof row,
                      "%zu moments next to polar seasons are not compared: the reference's only crossing "
                      "of their date is another one.\n", unmatched);
        table += row;
    }
    return table;
}
