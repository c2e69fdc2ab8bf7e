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
        {"Biel/Bienne", "Biel/Bienne", "BIEL BIENNE"},  // the field refuses /
        {"Ciudad Nezahualcóyotl", "Ciudad Nezahualcoyotl", "CIUDAD"},  // whole words only
        {"Santiago de Compostela", "Santiago de Compostela", "SANTIAGO DE"},
        {"Villa Ángela del Sur de Ñ", "Villa Angela", "VILLA \xC1NGELA DEL SUR"},  // cut at a blank
        {"Saint-Rémy-de-Provence", "Saint-Remy-de-Provence", "SAINT-R\xC9MY-DE"},
        {"Washington, D.C.", "Washington, D.C.", "WASHINGTON, D.C"},  // no "D.C..TXT"
        {"Llanfairpwllgwyngyllgogerychwyrndrobwll", "", "LLANFAIRPWLLGWYNGYLL"},
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

TEST(PlaceSettings, TimeBasisIsTheStandardTheDatabaseMarksOnMostDays) {
    struct Case {
        const char* zone;
        int year;
        const char* zoneText;
        bool summer;
        const char* note;  // the beginning of the note
    };
    const char* kSummer = "its summer time is not the tables' period";
    const Case cases[] = {
        {"Europe/Berlin", 2026, "1", true, ""},
        {"Europe/London", 2026, "0", true, ""},
        {"Europe/Dublin", 2026, "0", true, ""},  // the database calls its winter the summer time
        {"America/New_York", 2026, "-5", false, kSummer},
        {"Australia/Sydney", 2026, "10", false, kSummer},
        {"Asia/Kolkata", 2026, "5.5", false, ""},
        {"Asia/Kathmandu", 2026, "5.75", false, ""},
        {"Europe/Moscow", 2026, "3", false, ""},
        {"Europe/Moscow", 2010, "3", true, ""},  // before 2011 it kept the European period
        {"Africa/Casablanca", 2026, "1", false, kSummer},  // Ramadan an hour behind, marked summer time
        {"Europe/Moscow", 2011, "4", false, "standard time changes on 27 March from +3 to +4; the tables keep +4"},
        {"Europe/Moscow", 2014, "4", false, "standard time changes on 26 October from +4 to +3; the tables keep +4"},
        {"America/Caracas", 2016, "-4", false, "standard time changes on 1 May from -4:30 to -4;"},
        {"Europe/Zurich", 1850, "0.5688889", false, ""},  // local mean time, +0:34:08
    };
    for (const Case& c : cases) {
        Place place;
        place.timeZone = c.zone;
        const PlaceInput input = InputOfPlace(place, c.year, false);
        ASSERT_TRUE(input.timeBasisKnown) << c.zone;
        EXPECT_EQ(input.zone, c.zoneText) << c.zone << " " << c.year;
        EXPECT_EQ(input.summerTime, c.summer) << c.zone << " " << c.year;
        EXPECT_EQ(input.note.substr(0, std::string(c.note).size()), c.note) << c.zone << " " << c.year;
        EXPECT_EQ(input.note.empty(), *c.note == 0) << input.note;
    }
    Place unknown;
    unknown.timeZone = "Mars/Olympus";
    EXPECT_FALSE(InputOfPlace(unknown, 2026, false).timeBasisKnown);
    Place own;
    own.own = true;
    own.zone = "5.5";
    EXPECT_EQ(InputOfPlace(own, 2026, false).zone, "5.5");
}

}  // namespace
