#include "input/coordinates.h"

#include <gtest/gtest.h>

namespace {

TEST(Coordinates, BothModesGiveTheDecimalValueAndThePackedText) {
    const struct {
        bool sixty;
        const char* entered;
        float degrees;
        const char* packed;
    } cases[] = {
        {true, "9.1030", 9.175f, "9.1030"},
        {true, "9.1750", 9.297222f, "9.1750"},
        {true, "48.3959", 48.666389f, "48.3959"},
        {true, "9.10305", 9.175f, "9.1030"},      // cut to four digits
        {true, "12", 12.0f, "12"},
        {true, "9.5", 9.833333f, "9.5"},          // digits read by position
        {true, "170.5959", 170.999741f, "170.5959"},
        {false, "9.1750", 9.175f, "9.103000"},
        {false, "48.66", 48.66f, "48.393600"},
        {false, "47.5", 47.5f, "47.300000"},
        {false, "48.666667", 48.666667f, "48.400000"},
        {false, "45.999722", 45.999722f, "45.595900"},
        {false, "9.99999", 9.99999f, "10.000000"},  // seconds carried into the degrees
    };
    for (const auto& c : cases) {
        const Coordinate got = c.sixty ? PackedToDegrees(c.entered) : DegreesToPacked(c.entered);
        EXPECT_FLOAT_EQ(got.degrees, c.degrees) << c.entered;
        EXPECT_EQ(got.packed, c.packed) << c.entered;
    }
}

}  // namespace
