#include "text/numbers.h"

#include <cfloat>
#include <charconv>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <utility>

#include <locale.h>

std::string FormatReal(float value) {
    return FormatFixed(static_cast<double>(value), 6);
}

std::string FormatFixed(double value, int decimals) {
    // A float's "%f" can need 39 digits before the point, a double's 309;
    // to_chars writes them as "%f" in the C locale, whatever the process's.
    char buffer[400];
    const std::to_chars_result end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return end.ec == std::errc() ? std::string(buffer, end.ptr) : std::string();
}

std::string FormatInteger(long value) {
    char buffer[32];
    const std::to_chars_result end = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, end.ptr);
}

std::string TwoDigits(long value) {
    std::string digits = FormatInteger(value);
    return digits.size() < 2 ? "0" + digits : digits;
}

int32_t ParseInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > int64_t{INT32_MAX} + 1) value = int64_t{INT32_MAX} + 1;  // saturate
    }
    if (negative) value = -value;
    if (value > INT32_MAX) value = INT32_MAX;
    return static_cast<int32_t>(value);
}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the leading decimal number of text (after white space), or 0.
size_t DecimalNumberEnd(std::string_view text, size_t start) {
    size_t i = start;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return start;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) ++j;
            i = j;
        }
    }
    return i;
}

// Nothing when the system could not make one (out of memory).
locale_t CLocale() {
    static locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
    return c;
}

// A number of the C locale's form read by the process locale's strtod: its
// point becomes that locale's decimal point, the only character of such a
// number that depends on the locale.
double StrtodInProcessLocale(std::string number) {
    const std::string point = std::localeconv()->decimal_point;
    if (const size_t at = number.find('.'); at != std::string::npos && point != ".") number.replace(at, 1, point);
    return std::strtod(number.c_str(), nullptr);
}

}  // namespace

std::optional<double> ParseDouble(std::string_view text) {
    size_t start = 0;
    while (start < text.size() &&
           (text[start] == ' ' || (text[start] >= '\t' && text[start] <= '\r')))
        ++start;
    size_t end = DecimalNumberEnd(text, start);
    if (end == start) return std::nullopt;
    std::string number(text.substr(start, end - start));
    if (const locale_t c = CLocale()) return strtod_l(number.c_str(), nullptr, c);
    return StrtodInProcessLocale(std::move(number));
}

float ParseReal(std::string_view text) {
    const double d = ParseDouble(text).value_or(0.0);
    // Beyond the largest float (by more than half a unit in its last place)
    // the rounded value is an infinity; the plain cast would be undefined.
    constexpr double kFloatLimit = 0x1.ffffffp127;
    if (std::fabs(d) >= kFloatLimit) {
        return std::signbit(d) ? -std::numeric_limits<float>::infinity()
                               : std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(d);
}

int32_t TruncateToInteger(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483648.0) return INT32_MAX;
    if (value <= -2147483649.0) return INT32_MIN;
    return static_cast<int32_t>(value);
}

Sexagesimal SplitSexagesimal(float value) {
    Sexagesimal parts;
    parts.whole = TruncateToInteger(value);
    const float minutesReal =
        static_cast<float>((static_cast<double>(value) - static_cast<double>(parts.whole)) * 60.0);
    parts.minutes = TruncateToInteger(minutesReal);
    const float secondsReal = static_cast<float>(
        (static_cast<double>(minutesReal) - static_cast<double>(parts.minutes)) * 60.0);
    parts.seconds = TruncateToInteger(secondsReal);
    if (static_cast<double>(secondsReal) - static_cast<double>(parts.seconds) >= 0.5) parts.seconds += 1;
    if (parts.seconds == 60) {
        parts.seconds = 0;
        parts.minutes += 1;
        if (parts.minutes == 60) {
            parts.minutes = 0;
            parts.whole += 1;
        }
    }
    return parts;
}
