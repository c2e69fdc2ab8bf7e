#include "input/checks.h"

#include <gtest/gtest.h>

namespace {

struct CoordinateCase {
    bool sixtyMode;
    const char* entered;
    float degrees;
    const char* packed;
};

class CoordinateConversion : public testing::TestWithParam<CoordinateCase> {};

TEST_P(CoordinateConversion, GivesTheDecimalValueAndThePackedText) {
    const CoordinateCase& c = GetParam();
    const Coordinate got = c.sixtyMode ? PackedToDegrees(c.entered) : DegreesToPacked(c.entered);
    EXPECT_FLOAT_EQ(got.degrees, c.degrees) << c.entered;
    EXPECT_EQ(got.packed, c.packed) << c.entered;
}

INSTANTIATE_TEST_SUITE_P(
    WorkedValues, CoordinateConversion,
    testing::Values(
        // 60-mode: packed degrees, minutes, seconds; cut to four digits.
        CoordinateCase{true, "9.1030", 9.175f, "9.1030"},
        CoordinateCase{true, "9.1750", 9.297222f, "9.1750"},
        CoordinateCase{true, "48.3959", 48.666389f, "48.3959"},
        CoordinateCase{true, "9.10305", 9.175f, "9.1030"},
        CoordinateCase{true, "9", 9.0f, "9"},
        CoordinateCase{true, "12", 12.0f, "12"},
        CoordinateCase{true, "9.5", 9.833333f, "9.5"},    // digits read by position
        CoordinateCase{true, ".5", 0.833333f, ".5"},
        CoordinateCase{true, "170.5959", 170.999741f, "170.5959"},  // float error as sixtieths
        // 10-mode: decimal degrees; seconds rounded, half up, carried.
        CoordinateCase{false, "9.1750", 9.175f, "9.103000"},
        CoordinateCase{false, "48.66", 48.66f, "48.393600"},
        CoordinateCase{false, "9.5", 9.5f, "9.300000"},
        CoordinateCase{false, "47.5", 47.5f, "47.300000"},
        CoordinateCase{false, "48.666667", 48.666667f, "48.400000"},
        CoordinateCase{false, "45.999722", 45.999722f, "45.595900"},
        CoordinateCase{false, "9.99999", 9.99999f, "10.000000"},
        CoordinateCase{false, "0.0001", 0.0001f, "0.000000"}));

TEST(CoordinateConversion, AbsurdNumbersGiveDefinedValuesWithoutOverflow) {
    // Far beyond the globe: the range checks refuse these, but converting
    // them must not overflow on the way.
    EXPECT_GT(PackedToDegrees("99999999999").degrees, 180.0f);
    EXPECT_GT(PackedToDegrees("1e39").degrees, 180.0f);
    EXPECT_GT(DegreesToPacked("1e39").degrees, 180.0f);
    EXPECT_FALSE(DegreesToPacked("3e9").packed.empty());
}

}  // namespace
