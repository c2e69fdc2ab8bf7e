// What a place found by name puts into the timetable's input.
#include "places/place_settings.h"

#include <gtest/gtest.h>

namespace {

TEST(PlaceSettings, TownIsTheNameAsTheTownFieldAcceptsIt) {
    struct Case {
        const char* name;
        const char* ascii;
        const char* town;  // code page 1252
    };
    const Case cases[] = {
        {"Zürich", "Zurich", "ZUERICH"},
        {"Gießen", "Giessen", "GIESSEN"},
        {"Saint-Étienne", "Saint-Etienne", "SAINT-\xC9TIENNE"},
        {"Łódź", "Lodz", "LODZ"},  // Ł is not in code page 1252
        {"Frankfurt/Main", "Frankfurt/Main", "FRANKFURTMAIN"},  // the field refuses /
        {"Ciudad Nezahualcóyotl", "Ciudad Nezahualcoyotl", "CIUDAD NEZAHUALC\xD3YOT"},
        {"Villa Ángela del Sur de Ñ", "Villa Angela", "VILLA \xC1NGELA DEL SUR"},  // cut, no blank at the end
    };
    for (const Case& c : cases) {
        Place place;
        place.name = c.name;
        place.asciiName = c.ascii;
        EXPECT_EQ(TownFromPlace(place), c.town) << c.name;
    }
}

TEST(PlaceSettings, CoordinatesInEitherModeWithoutTheirSide) {
    struct Case {
        double degrees;
        bool sixty;
        const char* text;
    };
    const Case cases[] = {
        {8.55, false, "8.5500"},   {-0.12574, false, "0.1257"}, {47.36667, true, "47.2200"},
        {-9.175, true, "9.1030"},  {9.99999, true, "10.0000"},  {179.99996, false, "180.0000"},
        {48.666389, true, "48.3959"},
    };
    for (const Case& c : cases) EXPECT_EQ(CoordinateFieldText(c.degrees, c.sixty), c.text) << c.degrees;
}

TEST(PlaceSettings, DocumentsShowSummerTimeOnlyWhereTheZoneKeepsTheirPeriod) {
    struct Case {
        const char* zone;
        int year;
        double hours;
        bool summer, keepsStandard;
    };
    const Case cases[] = {
        {"Europe/Berlin", 2026, 1, true, false},
        {"Europe/London", 2026, 0, true, false},
        {"Europe/Dublin", 2026, 0, true, false},  // the database calls its winter the summer time
        {"America/New_York", 2026, -5, false, true},
        {"Australia/Sydney", 2026, 10, false, true},
        {"Asia/Kolkata", 2026, 5.5, false, false},
        {"Europe/Moscow", 2026, 3, false, false},
        {"Europe/Moscow", 2010, 3, true, false},  // before 2011 it kept the European period
        {"Asia/Kathmandu", 2026, 5.75, false, false},
    };
    for (const Case& c : cases) {
        Place place;
        place.timeZone = c.zone;
        const std::optional<DocumentTimeBasis> basis = DocumentTimeBasisOf(place, c.year);
        ASSERT_TRUE(basis) << c.zone;
        EXPECT_EQ(basis->zoneHours, c.hours) << c.zone << " " << c.year;
        EXPECT_EQ(basis->summerTime, c.summer) << c.zone << " " << c.year;
        EXPECT_EQ(basis->keepsStandardTime, c.keepsStandard) << c.zone << " " << c.year;
    }
    Place unknown;
    unknown.timeZone = "Mars/Olympus";
    EXPECT_FALSE(DocumentTimeBasisOf(unknown, 2026));
    Place own;
    own.own = true;
    own.zone = "5.5";
    ASSERT_TRUE(DocumentTimeBasisOf(own, 2026));
    EXPECT_EQ(DocumentTimeBasisOf(own, 2026)->zoneHours, 5.5);
}

}  // namespace
