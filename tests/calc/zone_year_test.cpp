#include "calc/zone_year.h"

#include "calc/civil_seconds.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

// "+4230-07105" or "+404251-0740023": degrees, minutes and maybe seconds.
double Degrees(const std::string& text, size_t degreeDigits) {
    const size_t rest = text.size() - 1 - degreeDigits;
    double value = std::stod(text.substr(1, degreeDigits)) + std::stod(text.substr(1 + degreeDigits, 2)) / 60;
    if (rest == 4) value += std::stod(text.substr(3 + degreeDigits, 2)) / 3600;
    return text[0] == '-' ? -value : value;
}

TimetableSettings At(int year, double latitude, double longitude) {
    TimetableSettings s;
    s.year = static_cast<int16_t>(year), s.yearReal = static_cast<float>(year);
    s.latitude = static_cast<float>(latitude), s.longitude = static_cast<float>(longitude);
    return s;
}

// Every moment of one kind on its row's local date, each the next solar day's: 20 to 28 hours
// after the one before, unless the Sun stayed above or below between them.
void ExpectEachOnce(const YearResult& year, bool sunrise, const std::string& what) {
    std::optional<int64_t> last;
    for (const DateMoments& d : year.Dates()) {
        const Moment& m = sunrise ? d.sunrise : d.sunset;
        if (m.kind == DayKind::PolarDay || m.kind == DayKind::PolarNight) last.reset();
        if (m.kind != DayKind::Normal) continue;
        const int64_t seconds = RoundedSeconds(m.hours);
        ASSERT_TRUE(seconds >= 0 && seconds < 86400) << what << " " << d.month << "-" << d.day << " " << m.hours;
        const int64_t utc = CivilDateSeconds(d.year, d.month, d.day) + seconds - m.offset;
        const int64_t after = last ? utc - *last : 24 * 3600;
        EXPECT_NEAR(after, 24 * 3600, 4 * 3600) << what << " " << sunrise << " " << d.month << "-" << d.day;
        last = utc;
    }
}

}  // namespace

TEST(ZoneYear, EverySunriseAndSunsetOnceOnItsLocalDateInEveryZoneAtItsOwnPlace) {
    std::ifstream table("/usr/share/zoneinfo/zone1970.tab");
    ASSERT_TRUE(table) << "tzdata's zone1970.tab";
    std::string line;
    int zones = 0;
    while (std::getline(table, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string countries, coordinates, name;
        std::getline(std::getline(std::getline(fields, countries, '\t'), coordinates, '\t'), name, '\t');
        const size_t split = coordinates.find_first_of("+-", 1);
        const double latitude = Degrees(coordinates.substr(0, split), 2);
        const double longitude = Degrees(coordinates.substr(split), 3);
        const std::optional<CivilTimeZone> zone = CivilTimeZone::Find(name).zone;
        ASSERT_TRUE(zone) << name;
        ++zones;
        // Rankin Inlet kept UTC in 1928, six hours from its longitude.
        for (const int year : name == "America/Rankin_Inlet" ? std::vector{1928, 2026} : std::vector{1970, 2026}) {
            const YearResult result = YearInTimeZone(At(year, latitude, longitude), *zone, name);
            ExpectEachOnce(result, true, name + " " + std::to_string(year));
            ExpectEachOnce(result, false, name + " " + std::to_string(year));
        }
    }
    EXPECT_GT(zones, 300);
}

TEST(ZoneYear, AClockFarFromItsLongitudeListsADateTwiceOrWithoutItsSunset) {
    // Rankin Inlet, 92° W on UTC in 1928: sunsets cross midnight in March and September.
    const YearResult year =
        YearInTimeZone(At(1928, 62.8167, -92.0833), *CivilTimeZone::Find("America/Rankin_Inlet").zone, "");
    std::vector<std::string> odd;
    for (const DateMoments& d : year.Dates())
        if (d.lived > 1 || d.sunset.kind == DayKind::OtherDate || d.sunrise.kind == DayKind::OtherDate)
            odd.push_back(std::to_string(d.month) + "-" + std::to_string(d.day) + (d.lived > 1 ? " again" : " without"));
    EXPECT_EQ(odd, (std::vector<std::string>{"3-15 without", "9-23 again"}));
    // At Greenwich on New Zealand's clock the last sunset would fall on 1 January 10000: it is left out.
    const YearResult last = YearInTimeZone(At(9999, 0, 0), *CivilTimeZone::Find("Pacific/Auckland").zone, "");
    ExpectEachOnce(last, false, "9999");
    EXPECT_EQ(last.Dates().back().day, 31);
}
