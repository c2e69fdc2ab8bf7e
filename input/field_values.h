// Values both programs read from or write into the input fields alike.
#pragma once

#include <cstdint>
#include <string>

// The year of a year field's text as the 16-bit record keeps it: the low 16
// bits of the number typed, so 65536 + 2026 holds 2026 and 40000 a negative.
int16_t YearOfField(const std::string& text);

// A latitude or longitude as a place is described: four decimals (about
// 10 m) and the side, "48.4006 N", "9.9994 E", "33.8688 S", "0.1257 W".
std::string LatitudeText(double degrees);
std::string LongitudeText(double degrees);
