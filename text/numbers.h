// Numbers as the timetables write and read them: fixed decimals, plain
// integers, truncation toward zero and the sexagesimal split, all
// independent of the process locale. Reals are single precision.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The value widened to double, in fixed notation with six decimals, as C's
// "%f": 9.175f gives "9.175000", -0.25f gives "-0.250000".
std::string FormatReal(float value);

// The value in fixed notation with that many decimals, as C's "%.*f" in the
// C locale: a point, never the process locale's comma. Empty past 400 characters.
std::string FormatFixed(double value, int decimals);

// The leading decimal number of a text as a double, read as the C locale
// reads it; nothing when the text does not begin with one.
std::optional<double> ParseDouble(std::string_view text);

// Plain decimal, '-' for negatives, no leading zeros.
std::string FormatInteger(long value);

// At least two digits, a leading zero below 10: 7 gives "07", 123 "123".
std::string TwoDigits(long value);

// Skips leading blanks (spaces only), one optional sign, then the longest run
// of decimal digits: "  -12.9" gives -12, "12abc" gives 12, "" and "-" give 0.
// A run too large for 32 bits saturates at the 32-bit limits, so a caller can
// still tell that the typed number was out of its range.
int32_t ParseInteger(std::string_view text);

// The leading decimal number of the text (leading white space, optional sign,
// digits with an optional '.', optional exponent), rounded to single
// precision: "9,5" gives 9, ".5" gives 0.5, text without a number gives 0.
// Hexadecimal, "inf" and "nan" forms are not numbers here. Values beyond the
// single-precision range give an infinity of their sign. Independent of the
// process locale.
float ParseReal(std::string_view text);

// Drops the fraction toward zero: 7.99 gives 7, -7.99 gives -7. Never rounds.
// NaN gives 0 and values beyond the 32-bit range saturate, so no real ever
// reaches an undefined conversion.
int32_t TruncateToInteger(double value);

// A value in degrees or hours as whole units, minutes and seconds: each part
// is the truncated remainder of the one before times 60, the intermediates
// rounded to single precision, so a negative value gives three parts of its
// sign. Half a second rounds up; seconds rounded up to 60 carry into the
// minutes, and minutes that then reach 60 into the whole units. 64 bits wide,
// so that no value, however large, overflows.
struct Sexagesimal {
    int64_t whole = 0;
    int64_t minutes = 0;
    int64_t seconds = 0;
};
Sexagesimal SplitSexagesimal(float value);
