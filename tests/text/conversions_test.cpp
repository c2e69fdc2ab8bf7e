#include "text/code_page.h"
#include "text/dates.h"
#include "text/numbers.h"
#include "text/text_slices.h"

#include <gtest/gtest.h>

#include <cmath>
#include <locale.h>

TEST(Conversions, FormatRealWritesSixDecimalsOfTheWidenedValue) {
    EXPECT_EQ(FormatReal(9.175f), "9.175000");
    EXPECT_EQ(FormatReal(0.5f), "0.500000");
    EXPECT_EQ(FormatReal(-0.25f), "-0.250000");
    EXPECT_EQ(FormatReal(47.3f), "47.299999");  // the single value of 47.3
    EXPECT_EQ(FormatReal(0.002444f), "0.002444");
    EXPECT_EQ(FormatReal(-10.0f).substr(0, 5), "-10.0");
}

TEST(Conversions, ParseIntegerTakesTheLeadingDigitRun) {
    EXPECT_EQ(ParseInteger("  -12.9"), -12);
    EXPECT_EQ(ParseInteger("+7"), 7);
    EXPECT_EQ(ParseInteger(""), 0);
    EXPECT_EQ(ParseInteger("-"), 0);
    EXPECT_EQ(ParseInteger("9.1750"), 9);
    EXPECT_EQ(ParseInteger("12abc"), 12);
    EXPECT_EQ(ParseInteger("\t5"), 0);  // only blanks are skipped
    EXPECT_EQ(ParseInteger("99999999999999999999"), INT32_MAX);
    EXPECT_EQ(ParseInteger("-99999999999999999999"), INT32_MIN);
}

TEST(Conversions, ParseRealReadsTheLeadingDecimalNumberWhateverTheLocale) {
    EXPECT_EQ(ParseReal("9.1750"), 9.175f);
    EXPECT_EQ(ParseReal("9,1750"), 9.0f);
    EXPECT_EQ(ParseReal(".5"), 0.5f);
    EXPECT_EQ(ParseReal("abc"), 0.0f);
    EXPECT_EQ(ParseReal(" -3.5h"), -3.5f);
    EXPECT_EQ(ParseReal("1e2x"), 100.0f);
    EXPECT_EQ(ParseReal("1e"), 1.0f);
    EXPECT_EQ(ParseReal("0x10"), 0.0f);   // no hexadecimal
    EXPECT_EQ(ParseReal("inf"), 0.0f);    // no words
    EXPECT_EQ(ParseReal("."), 0.0f);
    EXPECT_TRUE(std::isinf(ParseReal("1e39")));
    EXPECT_TRUE(std::isinf(ParseReal("-1e999")));
    EXPECT_EQ(ParseReal("1e-999"), 0.0f);
    // A comma locale changes no number read or written.
    ASSERT_NE(setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr) << "no de_DE.UTF-8: scripts/install-deps makes it";
    EXPECT_EQ(ParseReal("5.5"), 5.5f);
    EXPECT_EQ(FormatReal(9.175f) + FormatFixed(-47.3, 4), "9.175000-47.3000");
    setlocale(LC_NUMERIC, "C");
}

TEST(Conversions, TruncateToIntegerDropsTheFractionAndIsGuarded) {
    EXPECT_EQ(TruncateToInteger(917.99), 917);
    EXPECT_EQ(TruncateToInteger(7.99), 7);
    EXPECT_EQ(TruncateToInteger(-7.99), -7);
    EXPECT_EQ(TruncateToInteger(NAN), 0);
    EXPECT_EQ(TruncateToInteger(1e30), INT32_MAX);
    EXPECT_EQ(TruncateToInteger(-INFINITY), INT32_MIN);
}

TEST(Conversions, SlicesFindAndAlign) {
    EXPECT_EQ(TextSliceMiddle("9.175000", 3, 4), "1750");
    EXPECT_EQ(TextSliceMiddle("9.175000", 20, 4), "");
    EXPECT_EQ(TextSliceLeft("TESTTOWN", 4), "TEST");
    EXPECT_EQ(TextSliceLeft("AB", 20), "AB");
    EXPECT_EQ(TextSliceLeft("AB", 0), "");
    EXPECT_EQ(TextSliceRight("2004,03,14", 2), "14");
    EXPECT_EQ(TextSliceRight("4", 2), "4");
    EXPECT_EQ(FindText("9.175000", ".", 1), 2);
    EXPECT_EQ(FindText("9", ".", 1), 0);
    EXPECT_EQ(FindText("a.b.c", ".", 3), 4);
    EXPECT_EQ(FindText("a.b", ".", -5), 2);
    EXPECT_EQ(FindText("a.b", ".", 9), 0);
    EXPECT_EQ(RightAlign("2004", 6), "  2004");
    EXPECT_EQ(RightAlign("TWELVECHARSX", 6), "TWELVE");
    EXPECT_EQ(RightAlign("x", 0), "");
}

TEST(Conversions, DatesReadBackTheirLocalFields) {
    DateValue d = MakeDate(2004, 3, 14, 9, 5, 7);
    DateParts p = DatePartsOf(d);
    EXPECT_EQ(p.year, 2004);
    EXPECT_EQ(p.month, 3);
    EXPECT_EQ(p.day, 14);
    EXPECT_EQ(p.hour, 9);
    EXPECT_EQ(p.minute, 5);
    EXPECT_EQ(p.second, 7);
    EXPECT_EQ(p.weekday, 0);  // a Sunday
    EXPECT_EQ(FormatDate("%yyyy,%mm,%dd", d), "2004,03,14");
    EXPECT_EQ(FormatDate("%YY/%Hh:%ii:%SS %x%", d), "04/09:05:07 %x%");
    EXPECT_EQ(DatePartsOf(MakeDate(2026, 12, 31)).weekday, 4);
}

TEST(Conversions, CodePage1252RoundTripsThroughUtf8) {
    const std::string cp = "M\xDC" "LLER \xB0\xA9\x80\xDF";
    EXPECT_EQ(Cp1252ToUtf8(cp), "MÜLLER °©€ß");
    EXPECT_EQ(Utf8ToCp1252("MÜLLER °©€ß"), cp);
    EXPECT_EQ(Utf8ToCp1252("Ωx"), "?x");      // not in the code page
    EXPECT_EQ(Utf8ToCp1252("\xC3"), "?");     // a cut sequence
    // Overlong forms, surrogates and values beyond U+10FFFF are broken
    // sequences, never a NUL, a line end or a slash in disguise.
    EXPECT_EQ(Utf8ToCp1252("A\xC0\x80" "B"), "A??B");
    EXPECT_EQ(Utf8ToCp1252("A\xC0\x8A" "B"), "A??B");
    EXPECT_EQ(Utf8ToCp1252("\xE0\x80\xAF"), "???");
    EXPECT_EQ(Utf8ToCp1252("\xED\xA0\x80"), "???");
    EXPECT_EQ(Utf8ToCp1252("\xF4\x90\x80\x80"), "????");
}
