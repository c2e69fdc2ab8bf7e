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
    std::vector<bool> referenceNormal;
    std::vector<bool> engineNormal;
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= GregorianMonthLength(place.year, month); ++day) {
            const SunEvents engine =
                ComputeSunEvents(static_cast<int16_t>(place.year), static_cast<uint8_t>(month),
                                 static_cast<uint8_t>(day), longitude, latitude, zone);
            const ReferenceEvents reference = ComputeReferenceSunEvents(
                place.year, month, day, longitude, latitude, zone);
            ++result.days;
            if (engine.sunriseKind == DayKind::Normal && reference.HasSunrise()) {
                result.differences.push_back((engine.sunrise - reference.sunrise) * 3600.0);
            }
            if (engine.sunsetKind == DayKind::Normal && reference.HasSunset()) {
                result.differences.push_back((engine.sunset - reference.sunset) * 3600.0);
            }
            engineNormal.push_back(engine.kind == DayKind::Normal);
            referenceNormal.push_back(reference.kind == ReferenceDayKind::Normal);
            if (!engineNormal.back()) result.engineWithout.push_back(result.days);
            if (!referenceNormal.back()) result.referenceWithout.push_back(result.days);
        }
    }
    const auto n = static_cast<int>(referenceNormal.size());
    for (int i = 0; i < n; ++i) {
        if (engineNormal[i] == referenceNormal[i]) continue;
        const bool edgeBefore = i > 0 && referenceNormal[i - 1] != referenceNormal[i];
        const bool edgeAfter = i + 1 < n && referenceNormal[i + 1] != referenceNormal[i];
        if (!edgeBefore && !edgeAfter) result.kindDisagreements.push_back(i + 1);
    }
    std::vector<double> magnitudes;
    for (double d : result.differences) magnitudes.push_back(std::fabs(d));
    result.median = Median(magnitudes);
    result.largest = magnitudes.empty() ? 0.0 : *std::max_element(magnitudes.begin(), magnitudes.end());
    return result;
}

std::vector<PlaceComparison> CompareAccuracyPlaces() {
    std::vector<PlaceComparison> comparisons;
    for (const AccuracyPlace& place : AccuracyPlaces()) comparisons.push_back(ComparePlaceYear(place));
    return comparisons;
}

std::string AccuracyTable(const std::vector<PlaceComparison>& comparisons) {
    std::string table =
        "| Place | Latitude | Longitude | Zone | Year | Median (s) | Largest (s) | Days without rising or setting (program / reference) |\n"
        "|---|---|---|---|---|---|---|---|\n";
    for (const PlaceComparison& c : comparisons) {
        char zone[16];
        std::snprintf(zone, sizeof zone, c.place.zone == 0.0 ? "0" : "%+g", c.place.zone);
        char row[256];
        std::snprintf(row, sizeof row, "| %s | %s | %s | %s | %d | %.1f | %.1f | %zu / %zu |\n",
                      c.place.town.c_str(), Degrees(c.place.latitude, 'N', 'S').c_str(),
                      Degrees(c.place.longitude, 'E', 'W').c_str(), zone, c.place.year, c.median,
                      c.largest, c.engineWithout.size(), c.referenceWithout.size());
        table += row;
    }
    return table;
}
