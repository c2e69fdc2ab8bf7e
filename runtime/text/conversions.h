// Conversions between numbers, texts and dates on which every character of
// the timetables depends. Texts are 8-bit code page 1252 strings; reals are
// single precision.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The value widened to double, in fixed notation with six decimals, as C's
// "%f": 9.175f gives "9.175000", -0.25f gives "-0.250000".
std::string FormatReal(float value);

// The value in fixed notation with that many decimals, as C's "%.*f" in the
// C locale: a point, never the process locale's comma.
std::string FormatFixed(double value, int decimals);

// The leading decimal number of a text as a double, read as the C locale
// reads it; nothing when the text does not begin with one.
std::optional<double> ParseDouble(std::string_view text);

// Plain decimal, '-' for negatives, no leading zeros.
std::string FormatInteger(long value);

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

// The first n characters (all when shorter; empty for n <= 0).
std::string TextSliceLeft(std::string_view text, long n);
// Up to n characters from the 1-based position start; empty beyond the end.
std::string TextSliceMiddle(std::string_view text, long start, long n);
// The last n characters (all when shorter; empty for n <= 0).
std::string TextSliceRight(std::string_view text, long n);

// 1-based position of the first occurrence of wanted at or after start (a
// start below 1 counts as 1); 0 when there is none or wanted is empty.
long FindText(std::string_view text, std::string_view wanted, long start = 1);

// Exactly width characters: the text right-aligned with blanks on the left,
// or its first width characters when longer. Empty for width < 1.
std::string RightAlign(std::string_view text, long width);

// n space characters (none for n <= 0).
std::string Blanks(long n);

// A date value: seconds since 1970-01-01 00:00:00 of local wall-clock time,
// with no zone attached; its fields read back unconverted are the local ones.
using DateValue = int64_t;

// The local wall-clock date and time now, to the second.
DateValue CurrentDate();
// The date value of a local wall-clock date and time.
DateValue MakeDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

struct DateParts {
    int year;     // four digits
    int month;    // 1-12
    int day;      // 1-31
    int hour;     // 0-23
    int minute;
    int second;
    int weekday;  // 0 = Sunday ... 6 = Saturday
};
DateParts DatePartsOf(DateValue date);

// Copies the mask, replacing %yyyy, %yy, %mm, %dd, %hh, %ii and %ss (any
// letter case) by the date's fields: "%yyyy,%mm,%dd" gives "2004,03,14".
std::string FormatDate(std::string_view mask, DateValue date);

// Code page 1252 and UTF-8, for texts that cross to the system (file names,
// command lines, the window toolkit). A character that code page 1252 cannot
// hold becomes '?'; bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D, which it leaves
// undefined, map to the control characters of the same number.
std::string Cp1252ToUtf8(std::string_view text);
std::string Utf8ToCp1252(std::string_view text);
