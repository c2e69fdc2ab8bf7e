#include "input/checks.h"

#include "text/numbers.h"
#include "text/text_slices.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

// Below INT32_MAX / 1 000 000 degrees.
constexpr float kLargestPacked = 2147.0f;

// A whole number written with at least two digits, a leading zero below 10.
std::string TwoDigits(int64_t value) {
    std::string digits = FormatInteger(static_cast<long>(value));
    return digits.size() < 2 ? "0" + digits : digits;
}

// TruncateToInteger of a product first rounded to single precision, widened
// so that the differences below cannot overflow for absurd inputs.
int64_t TruncatedProduct(float v, double factor) {
    const float product = static_cast<float>(static_cast<double>(v) * factor);
    return TruncateToInteger(product);
}

}  // namespace

Coordinate PackedToDegrees(const std::string& text) {
    Coordinate result;
    const long point = FindText(text, ".");
    result.packed = point == 0 ? text
                               : TextSliceLeft(text, point - 1) + "." +
                                     TextSliceMiddle(text, point + 1, 4);
    const float v = ParseReal(result.packed);
    // The digits are read through v x 1 000 000 as a 32-bit integer; a
    // number too large for that has no minutes and seconds to read and
    // keeps its value, which the range check then refuses. (Saturated
    // digits would give a small negative value that passes it.)
    if (!(std::fabs(v) < kLargestPacked)) {
        result.degrees = v;
        return result;
    }

    const int64_t whole = TruncateToInteger(v);
    const int64_t hundredths = TruncatedProduct(v, 100.0);
    const int64_t tenThousandths = TruncatedProduct(v, 10000.0);
    const int64_t millionths = TruncatedProduct(v, 1000000.0);
    const int64_t minutes = hundredths - whole * 100;
    const int64_t seconds = tenThousandths - hundredths * 100;
    const int64_t sixtieths = millionths - tenThousandths * 100;

    const double degrees = static_cast<double>(whole) + static_cast<double>(minutes) / 60.0 +
                           static_cast<double>(seconds) / 3600.0 +
                           static_cast<double>(sixtieths) / 216000.0;
    const float scaled = static_cast<float>(degrees * 1000000.0);
    result.degrees = static_cast<float>(TruncateToInteger(scaled) / 1000000.0);
    return result;
}

Coordinate DegreesToPacked(const std::string& text) {
    Coordinate result;
    const float v = ParseReal(text);
    result.degrees = v;

    // Degrees, minutes and rounded seconds, as a time is split: 64 bits wide
    // rather than the 16 of old, so that no value wraps into another (values
    // that large are refused by the range checks anyway).
    const Sexagesimal parts = SplitSexagesimal(v);
    // A negative value (CheckInputs never passes one) gets one leading sign.
    const std::string sign = v < 0.0f ? "-" : "";
    result.packed = sign + FormatInteger(static_cast<long>(std::llabs(parts.whole))) + "." +
                    TwoDigits(std::llabs(parts.minutes)) + TwoDigits(std::llabs(parts.seconds)) + "00";
    return result;
}
