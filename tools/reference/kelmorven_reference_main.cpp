// kelmorven-reference: the precise rising and setting of a day or a year,
// and the accuracy table of the engine against them.
//
//   kelmorven-reference day LONGITUDE LATITUDE ZONE YEAR MONTH DAY
//   kelmorven-reference year LONGITUDE LATITUDE ZONE YEAR
//   kelmorven-reference accuracy
//
// Longitude east positive, latitude north positive, decimal degrees; zone in
// hours ahead of UT. Times are zone time without summer time, to 0.01 s.
#include "tools/reference/month_length.h"
#include "tools/reference/reference_sun.h"

#include "tools/reference/accuracy_comparison.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int kUsage = 64;

int Usage() {
    std::cerr << "usage: kelmorven-reference day LONGITUDE LATITUDE ZONE YEAR MONTH DAY\n"
                 "       kelmorven-reference year LONGITUDE LATITUDE ZONE YEAR\n"
                 "       kelmorven-reference accuracy\n";
    return kUsage;
}

bool ParseNumber(const char* text, double& value) {
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end != text && *end == '\0' && std::isfinite(value);
}

bool ParseInteger(const char* text, int low, int high, int& value) {
    double number = 0.0;
    if (!ParseNumber(text, number) || number != std::floor(number) || number < low || number > high) {
        return false;
    }
    value = static_cast<int>(number);
    return true;
}

// hh:mm:ss.ss of decimal hours.
std::string ClockText(double hours) {
    const bool negative = hours < 0.0;
    const long hundredths = std::lround(std::fabs(hours) * 360000.0);
    char text[32];
    std::snprintf(text, sizeof text, "%s%02ld:%02ld:%05.2f", negative ? "-" : "", hundredths / 360000,
                  hundredths / 6000 % 60, static_cast<double>(hundredths % 6000) / 100.0);
    return text;
}

void PrintDay(int year, int month, int day, double longitude, double latitude, double zone) {
    const ReferenceEvents events = ComputeReferenceSunEvents(year, month, day, longitude, latitude, zone);
    std::printf("%04d-%02d-%02d  ", year, month, day);
    switch (events.kind) {
        case ReferenceDayKind::PolarDay: std::printf("above the altitude all day\n"); return;
        case ReferenceDayKind::PolarNight: std::printf("below the altitude all day\n"); return;
        default: break;
    }
    std::printf("rising %s  setting %s\n",
                events.HasSunrise() ? ClockText(events.sunrise).c_str() : "   none    ",
                events.HasSunset() ? ClockText(events.sunset).c_str() : "   none    ");
}

bool ParsePlace(char** argv, double& longitude, double& latitude, double& zone) {
    return ParseNumber(argv[0], longitude) && ParseNumber(argv[1], latitude) &&
           ParseNumber(argv[2], zone) && std::fabs(longitude) <= 180.0 && std::fabs(latitude) <= 90.0 &&
           std::fabs(zone) <= 14.0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    double longitude = 0.0, latitude = 0.0, zone = 0.0;
    int year = 0, month = 0, day = 0;
    if (command == "day" && argc == 8) {
        if (!ParsePlace(argv + 2, longitude, latitude, zone) || !ParseInteger(argv[5], 1900, 2100, year) ||
            !ParseInteger(argv[6], 1, 12, month) || !ParseInteger(argv[7], 1, GregorianMonthLength(year, month), day)) {
            return Usage();
        }
        PrintDay(year, month, day, longitude, latitude, zone);
        return 0;
    }
    if (command == "year" && argc == 6) {
        if (!ParsePlace(argv + 2, longitude, latitude, zone) || !ParseInteger(argv[5], 1900, 2100, year)) {
            return Usage();
        }
        for (month = 1; month <= 12; ++month) {
            for (day = 1; day <= GregorianMonthLength(year, month); ++day) PrintDay(year, month, day, longitude, latitude, zone);
        }
        return 0;
    }
    if (command == "accuracy" && argc == 2) {
        std::cout << AccuracyTable(CompareAccuracyPlaces());
        return 0;
    }
    return Usage();
}
