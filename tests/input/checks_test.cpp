#include "input/checks.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

const char* const kCoordinateText = "input only by dot! comma not allowed! Only positive numbers!";
const char* const kSixtyText =
    "If you decided to calculate by 60-modus, then numbers higher than 60' or 60'' are not "
    "allowed.";
const char* const kStopText =
    "Missing input Or wrong input at position year, town, longitude Or latitude.";

// An input every check accepts: Stuttgart-like, 60-mode.
InputSnapshot GoodInput() {
    InputSnapshot s;
    s.yearRaw = "2004";
    s.townRaw = "TESTTOWN";
    s.longitudeRaw = "9.1030";
    s.latitudeRaw = "48.3959";
    s.zoneRaw = "1";
    s.sixtyMode = true;
    return s;
}

struct RefusalCase {
    const char* name;
    std::function<void(InputSnapshot&)> change;
    const char* title;
    const char* text;
};

class Refusal : public testing::TestWithParam<RefusalCase> {};

TEST_P(Refusal, ShowsTheFirstFailingCheckWithItsFixedTitleAndText) {
    InputSnapshot input = GoodInput();
    GetParam().change(input);
    TimetableSettings settings;
    const CheckResult result = CheckInputs(input, settings);
    EXPECT_FALSE(result.passed);
    EXPECT_EQ(result.title, GetParam().title);
    EXPECT_EQ(result.text, GetParam().text);
}

const RefusalCase kRefusals[] = {
    {"CommaInLongitude60", [](InputSnapshot& s) { s.longitudeRaw = "9,5"; },
     "Attention at longitude !", kCoordinateText},
    {"CommaInLongitude10", [](InputSnapshot& s) { s.longitudeRaw = "9,5"; s.sixtyMode = false; },
     "Attention at longitude !", kCoordinateText},
    {"MinusLeadingLatitude", [](InputSnapshot& s) { s.latitudeRaw = "-9.5"; },
     "Attention at latitude !", kCoordinateText},
    {"MinusInsideLatitude", [](InputSnapshot& s) { s.latitudeRaw = "9-5"; },
     "Attention at latitude !", kCoordinateText},
    {"SlashInTown", [](InputSnapshot& s) { s.townRaw = "AB/CD"; }, "Attention !",
     "Not allowed signs like the following \\ / : * ?  < > | # !"},
    {"BackslashInTown", [](InputSnapshot& s) { s.townRaw = "A\\B"; }, "Attention !",
     "Not allowed signs like the following \\ / : * ?  < > | # !"},
    {"BarAtTownEnd", [](InputSnapshot& s) { s.townRaw = "AB|"; }, "Attention !",
     "Not allowed signs like the following \\ / : * ?  < > | # !"},
    {"UmlautInTown", [](InputSnapshot& s) { s.townRaw = "M\xDCLLER"; }, "Achtung bei Ort!",
     "No umlauts accepated: \xC4, \xD6, \xDC, \xDF  because is no text format!"},
    {"SharpSInTown", [](InputSnapshot& s) { s.townRaw = "GRO\xDF"; }, "Achtung bei Ort!",
     "No umlauts accepated: \xC4, \xD6, \xDC, \xDF  because is no text format!"},
    {"SeventyMinutesLongitude", [](InputSnapshot& s) { s.longitudeRaw = "9.7030"; },
     "Mistake with input number at coordinate longitude, especially after the comma!", kSixtyText},
    {"SeventySecondsLongitude", [](InputSnapshot& s) { s.longitudeRaw = "9.1070"; },
     "Mistake with input number at coordinate longitude, especially after the comma!", kSixtyText},
    {"SeventyMinutesLatitude", [](InputSnapshot& s) { s.latitudeRaw = "48.7000"; },
     "Mistake with input number at coordinate latitude, especially after the comma!", kSixtyText},
    {"EmptyYear", [](InputSnapshot& s) { s.yearRaw = ""; }, "Stop ", kStopText},
    {"YearZero", [](InputSnapshot& s) { s.yearRaw = "0"; }, "Stop ", kStopText},
    {"YearWrappingToZero", [](InputSnapshot& s) { s.yearRaw = "65536"; }, "Stop ", kStopText},
    {"YearAbove16Bits", [](InputSnapshot& s) { s.yearRaw = "32768"; }, "Stop ", kStopText},
    {"YearWrappingToAnotherYear", [](InputSnapshot& s) { s.yearRaw = "67540"; }, "Stop ",
     kStopText},  // 67540 - 65536 = 2004
    {"HugeYear", [](InputSnapshot& s) { s.yearRaw = "99999999999999"; }, "Stop ", kStopText},
    {"EmptyTown", [](InputSnapshot& s) { s.townRaw = ""; }, "Stop ", kStopText},
    {"EmptyLongitude10", [](InputSnapshot& s) { s.longitudeRaw = ""; s.sixtyMode = false; },
     "Stop ", kStopText},
    {"EmptyLatitude60", [](InputSnapshot& s) { s.latitudeRaw = ""; }, "Stop ", kStopText},
    {"LongitudeBeyond180", [](InputSnapshot& s) { s.longitudeRaw = "180.0001"; s.sixtyMode = false; },
     "Attention at longitude !", "Longitude must not exceed 180 degrees."},
    {"LongitudeBeyond180In60Mode", [](InputSnapshot& s) { s.longitudeRaw = "180.0100"; },
     "Attention at longitude !", "Longitude must not exceed 180 degrees."},
    {"LongitudeTooLargeForItsDigits60", [](InputSnapshot& s) { s.longitudeRaw = "99999999999"; },
     "Attention at longitude !", "Longitude must not exceed 180 degrees."},
    {"InfiniteLongitude", [](InputSnapshot& s) { s.longitudeRaw = "1e39"; },
     "Attention at longitude !", "Longitude must not exceed 180 degrees."},
    {"LatitudeBeyond90", [](InputSnapshot& s) { s.latitudeRaw = "90.5"; s.sixtyMode = false; },
     "Attention at latitude !", "Latitude must not exceed 90 degrees."},
    {"ZoneAbove14", [](InputSnapshot& s) { s.zoneRaw = "14.5"; }, "Attention at time zone !",
     "Time difference to Greenwich Mean Time must lie between -14 and +14 hours."},
    {"ZoneBelowMinus14", [](InputSnapshot& s) { s.zoneRaw = "-15"; }, "Attention at time zone !",
     "Time difference to Greenwich Mean Time must lie between -14 and +14 hours."},
    {"InfiniteZone", [](InputSnapshot& s) { s.zoneRaw = "1e39"; }, "Attention at time zone !",
     "Time difference to Greenwich Mean Time must lie between -14 and +14 hours."},
    // Several failing at once: the first in the fixed order is reported.
    {"CommaBeatsTownAndYear",
     [](InputSnapshot& s) { s.latitudeRaw = "4,5"; s.townRaw = "A*B"; s.yearRaw = ""; },
     "Attention at latitude !", kCoordinateText},
    {"TownBeatsDigits", [](InputSnapshot& s) { s.townRaw = "A?"; s.longitudeRaw = "9.7"; },
     "Attention !", "Not allowed signs like the following \\ / : * ?  < > | # !"},
    {"MissingYearBeatsRange",
     [](InputSnapshot& s) { s.yearRaw = ""; s.latitudeRaw = "95"; s.zoneRaw = "20"; }, "Stop ",
     kStopText},
    {"LongitudeRangeBeatsLatitudeAndZone",
     [](InputSnapshot& s) { s.longitudeRaw = "200"; s.latitudeRaw = "95"; s.zoneRaw = "20"; },
     "Attention at longitude !", "Longitude must not exceed 180 degrees."},
    {"LatitudeRangeBeatsZone", [](InputSnapshot& s) { s.latitudeRaw = "95"; s.zoneRaw = "20"; },
     "Attention at latitude !", "Latitude must not exceed 90 degrees."},
};

INSTANTIATE_TEST_SUITE_P(TypedInput, Refusal, testing::ValuesIn(kRefusals),
                         [](const testing::TestParamInfo<RefusalCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(CheckInputs, AcceptsInputAtTheLimitsOfTheGlobeAndOfTheZones) {
    const std::function<void(InputSnapshot&)> accepted[] = {
        [](InputSnapshot& s) { s.longitudeRaw = "180"; s.latitudeRaw = "90"; },
        [](InputSnapshot& s) { s.zoneRaw = "14"; },
        [](InputSnapshot& s) { s.zoneRaw = "-14"; },
        [](InputSnapshot& s) { s.zoneRaw = ""; },
        [](InputSnapshot& s) { s.yearRaw = "1"; },
        [](InputSnapshot& s) { s.yearRaw = "32767"; },
        [](InputSnapshot& s) { s.longitudeRaw = "9.5959"; s.latitudeRaw = "9.1"; },
        // The 60-mode digit test does not apply in 10-mode.
        [](InputSnapshot& s) { s.longitudeRaw = "9.7030"; s.latitudeRaw = "9.1070"; s.sixtyMode = false; },
    };
    for (const auto& change : accepted) {
        InputSnapshot input = GoodInput();
        change(input);
        TimetableSettings settings;
        const CheckResult result = CheckInputs(input, settings);
        EXPECT_TRUE(result.passed) << input.yearRaw << " " << input.longitudeRaw << " "
                                   << input.latitudeRaw << " " << input.zoneRaw << ": "
                                   << result.title;
    }
}

TEST(CheckInputs, FillsTheSettingsWithSidesModesAndTexts) {
    InputSnapshot input = GoodInput();
    input.townRaw = "ABCDEFGHIJKLMNOPQRSTUVWXY";  // 25 characters
    input.westChosen = true;
    input.southChosen = true;
    input.summerTimeChecked = true;
    input.zoneRaw = "5.5";
    TimetableSettings settings;
    ASSERT_TRUE(CheckInputs(input, settings).passed);
    EXPECT_EQ(settings.yearText, "2004");
    EXPECT_EQ(settings.year, 2004);
    EXPECT_EQ(settings.yearReal, 2004.0f);
    EXPECT_EQ(settings.town, "ABCDEFGHIJKLMNOPQRST");
    EXPECT_FLOAT_EQ(settings.longitude, -9.175f);
    EXPECT_EQ(settings.longitudeSide, -1);
    EXPECT_EQ(settings.longitudePacked, "9.1030");
    EXPECT_FLOAT_EQ(settings.latitude, -48.666389f);
    EXPECT_EQ(settings.latitudeSide, -1);
    EXPECT_EQ(settings.latitudePacked, "48.3959");
    EXPECT_EQ(settings.zone, 5.5f);
    EXPECT_EQ(settings.summerTime, 1);

    input = GoodInput();
    input.sixtyMode = false;
    input.longitudeRaw = "9.1750";
    input.latitudeRaw = "48.66";
    input.zoneRaw = "";
    ASSERT_TRUE(CheckInputs(input, settings).passed);
    EXPECT_FLOAT_EQ(settings.longitude, 9.175f);
    EXPECT_EQ(settings.longitudeSide, 1);
    EXPECT_EQ(settings.longitudePacked, "9.103000");
    EXPECT_EQ(settings.latitudePacked, "48.393600");
    EXPECT_EQ(settings.latitudeSide, 1);
    EXPECT_EQ(settings.zone, 0.0f);
    EXPECT_EQ(settings.summerTime, 0);
}

TEST(CheckInputs, KeepsTheTypedTextsWhenRefusing) {
    InputSnapshot input = GoodInput();
    input.yearRaw = "";
    input.townRaw = "ABCDEFGHIJKLMNOPQRSTUVWXY";
    input.longitudeRaw = "9,5";
    input.latitudeRaw = "48x";
    input.zoneRaw = "zone";
    TimetableSettings settings;
    ASSERT_FALSE(CheckInputs(input, settings).passed);
    EXPECT_EQ(settings.yearText, "");
    EXPECT_EQ(settings.town, "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(settings.longitudeText, "9,5");
    EXPECT_EQ(settings.latitudeText, "48x");
    EXPECT_EQ(settings.zoneText, "zone");
}

}  // namespace
