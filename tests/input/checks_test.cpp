#include "input/checks.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The messages of CheckInputs, by the check that gives them.
enum Check { Longitude, Latitude, Town, Umlaut, Digits60Lon, Digits60Lat, Stop, LonRange, LatRange, Zone, Pass };
const char* const kCoordinateText = "input only by dot! comma not allowed! Only positive numbers!";
const char* const kSixtyText =
    "If you decided to calculate by 60-modus, then numbers higher than 60' or 60'' are not allowed.";
const struct Message {
    const char* title;
    const char* text;
} kMessages[] = {
    {"Attention at longitude !", kCoordinateText},
    {"Attention at latitude !", kCoordinateText},
    {"Attention !", "Not allowed signs like the following \\ / : * ?  < > | # !"},
    {"Achtung bei Ort!", "No umlauts accepated: \xC4, \xD6, \xDC, \xDF  because is no text format!"},
    {"Mistake with input number at coordinate longitude, especially after the comma!", kSixtyText},
    {"Mistake with input number at coordinate latitude, especially after the comma!", kSixtyText},
    {"Stop ", "Missing input Or wrong input at position year, town, longitude Or latitude."},
    {"Attention at longitude !", "Longitude must not exceed 180 degrees."},
    {"Attention at latitude !", "Latitude must not exceed 90 degrees."},
    {"Attention at time zone !",
     "Time difference to Greenwich Mean Time must lie between -14 and +14 hours."},
};

// A typed input; nullptr keeps the field of an input every check accepts.
struct Typed {
    bool sixty;
    const char* year;
    const char* town;
    const char* longitude;
    const char* latitude;
    const char* zone;
    Check expected;
};

TEST(CheckInputs, RefusesWithTheFirstFailingCheckInItsFixedOrder) {
    const Typed cases[] = {
        {true, nullptr, nullptr, "9,5", nullptr, nullptr, Longitude},
        {false, nullptr, nullptr, "9,5", nullptr, nullptr, Longitude},
        {true, nullptr, nullptr, nullptr, "-9.5", nullptr, Latitude},
        {true, nullptr, nullptr, nullptr, "9-5", nullptr, Latitude},
        {true, nullptr, "AB/CD", nullptr, nullptr, nullptr, Town},
        {true, nullptr, "AB|", nullptr, nullptr, nullptr, Town},
        {true, nullptr, "M\xDCLLER", nullptr, nullptr, nullptr, Umlaut},
        {true, nullptr, "GRO\xDF", nullptr, nullptr, nullptr, Umlaut},
        {true, nullptr, nullptr, "9.7030", nullptr, nullptr, Digits60Lon},  // 70 minutes
        {true, nullptr, nullptr, "9.1070", nullptr, nullptr, Digits60Lon},  // 70 seconds
        {true, nullptr, nullptr, nullptr, "48.7000", nullptr, Digits60Lat},
        {false, nullptr, nullptr, "9.7030", "9.1070", nullptr, Pass},  // no digit test in 10-mode
        {true, "", nullptr, nullptr, nullptr, nullptr, Stop},
        {true, "0", nullptr, nullptr, nullptr, nullptr, Stop},
        {true, "65536", nullptr, nullptr, nullptr, nullptr, Stop},  // 0 in 16 bits
        {true, "67540", nullptr, nullptr, nullptr, nullptr, Stop},  // 2004 in 16 bits
        {true, "32768", nullptr, nullptr, nullptr, nullptr, Stop},
        {true, "32767", nullptr, nullptr, nullptr, nullptr, Pass},
        {true, nullptr, "", nullptr, nullptr, nullptr, Stop},
        {false, nullptr, nullptr, "", nullptr, nullptr, Stop},
        {true, nullptr, nullptr, nullptr, "", nullptr, Stop},
        {false, nullptr, nullptr, "180.0001", nullptr, nullptr, LonRange},
        {true, nullptr, nullptr, "180.0100", nullptr, nullptr, LonRange},
        {true, nullptr, nullptr, "99999999999", nullptr, nullptr, LonRange},  // beyond its digits
        {true, nullptr, nullptr, "1e39", nullptr, nullptr, LonRange},
        {false, nullptr, nullptr, nullptr, "90.5", nullptr, LatRange},
        {true, nullptr, nullptr, "180", "90", nullptr, Pass},
        {true, nullptr, nullptr, nullptr, nullptr, "14.5", Zone},
        {true, nullptr, nullptr, nullptr, nullptr, "-15", Zone},
        {true, nullptr, nullptr, nullptr, nullptr, "1e39", Zone},
        {true, nullptr, nullptr, nullptr, nullptr, "-14", Pass},
        // Several at once.
        {true, "", "A*B", nullptr, "4,5", nullptr, Latitude},
        {true, nullptr, "A?", "9.7", nullptr, nullptr, Town},
        {true, "", nullptr, nullptr, "95", "20", Stop},
        {true, nullptr, nullptr, "200", "95", "20", LonRange},
        {true, nullptr, nullptr, nullptr, "95", "20", LatRange},
    };
    for (const Typed& c : cases) {
        InputSnapshot input;
        input.sixtyMode = c.sixty;
        input.yearRaw = c.year ? c.year : "2004";
        input.townRaw = c.town ? c.town : "TESTTOWN";
        input.longitudeRaw = c.longitude ? c.longitude : "9.1030";
        input.latitudeRaw = c.latitude ? c.latitude : "48.3959";
        input.zoneRaw = c.zone ? c.zone : "1";
        TimetableSettings settings;
        const CheckResult result = CheckInputs(input, settings);
        const std::string typed = input.yearRaw + "|" + input.townRaw + "|" + input.longitudeRaw +
                                  "|" + input.latitudeRaw + "|" + input.zoneRaw;
        if (c.expected == Pass) {
            EXPECT_TRUE(result.passed) << typed << ": " << result.title;
            continue;
        }
        EXPECT_FALSE(result.passed) << typed;
        EXPECT_EQ(result.title, kMessages[c.expected].title) << typed;
        EXPECT_EQ(result.text, kMessages[c.expected].text) << typed;
    }
}

TEST(CheckInputs, FillsTheSettingsWithSidesModesAndTexts) {
    InputSnapshot input{"2004", "ABCDEFGHIJKLMNOPQRSTUVWXY", "9.1030", "48.3959", "5.5",
                        true,   true,                        true,     true};
    TimetableSettings s;
    ASSERT_TRUE(CheckInputs(input, s).passed);
    EXPECT_EQ(s.year, 2004);
    EXPECT_EQ(s.yearReal, 2004.0f);
    EXPECT_EQ(s.town, "ABCDEFGHIJKLMNOPQRST");  // cut to 20 without a message
    EXPECT_FLOAT_EQ(s.longitude, -9.175f);      // west
    EXPECT_EQ(s.longitudeSide, -1);
    EXPECT_EQ(s.longitudePacked, "9.1030");
    EXPECT_FLOAT_EQ(s.latitude, -48.666389f);   // south
    EXPECT_EQ(s.latitudeSide, -1);
    EXPECT_EQ(s.zone, 5.5f);
    EXPECT_EQ(s.summerTime, 1);

    input = InputSnapshot{"2004", "X", "9.1750", "48.66", "", false, false, false, false};
    ASSERT_TRUE(CheckInputs(input, s).passed);
    EXPECT_FLOAT_EQ(s.longitude, 9.175f);
    EXPECT_EQ(s.longitudeSide, 1);
    EXPECT_EQ(s.longitudePacked, "9.103000");
    EXPECT_EQ(s.latitudePacked, "48.393600");
    EXPECT_EQ(s.zone, 0.0f);
    EXPECT_EQ(s.summerTime, 0);
}

TEST(CheckInputs, KeepsTheTypedTextsWhenRefusing) {
    const InputSnapshot input{"", "ABCDEFGHIJKLMNOPQRSTUVWXY", "9,5", "48x", "zone"};
    TimetableSettings s;
    ASSERT_FALSE(CheckInputs(input, s).passed);
    EXPECT_EQ(s.yearText + "|" + s.town + "|" + s.longitudeText + "|" + s.latitudeText + "|" + s.zoneText,
              "|ABCDEFGHIJKLMNOPQRST|9,5|48x|zone");
}

}  // namespace
