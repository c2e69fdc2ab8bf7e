#include "runtime/text/conversions.h"

#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>

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
    return std::string(buffer, end.ptr);
}

std::string FormatInteger(long value) {
    char buffer[32];
    const std::to_chars_result end = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, end.ptr);
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

locale_t CLocale() {
    static locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
    return c;
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
    return strtod_l(number.c_str(), nullptr, CLocale());
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

std::string TextSliceLeft(std::string_view text, long n) {
    if (n <= 0) return {};
    return std::string(text.substr(0, static_cast<size_t>(n)));
}

std::string TextSliceMiddle(std::string_view text, long start, long n) {
    if (start < 1) start = 1;
    if (n <= 0 || static_cast<size_t>(start) > text.size()) return {};
    return std::string(text.substr(static_cast<size_t>(start - 1), static_cast<size_t>(n)));
}

std::string TextSliceRight(std::string_view text, long n) {
    if (n <= 0) return {};
    if (static_cast<size_t>(n) >= text.size()) return std::string(text);
    return std::string(text.substr(text.size() - static_cast<size_t>(n)));
}

long FindText(std::string_view text, std::string_view wanted, long start) {
    if (wanted.empty()) return 0;
    if (start < 1) start = 1;
    if (static_cast<size_t>(start) > text.size()) return 0;
    size_t at = text.find(wanted, static_cast<size_t>(start - 1));
    return at == std::string_view::npos ? 0 : static_cast<long>(at) + 1;
}

std::string RightAlign(std::string_view text, long width) {
    if (width < 1) return {};
    size_t w = static_cast<size_t>(width);
    if (text.size() >= w) return std::string(text.substr(0, w));
    return std::string(w - text.size(), ' ') + std::string(text);
}

std::string Blanks(long n) { return n <= 0 ? std::string() : std::string(static_cast<size_t>(n), ' '); }

DateValue CurrentDate() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return MakeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                    local.tm_min, local.tm_sec);
}

DateValue MakeDate(int year, int month, int day, int hour, int minute, int second) {
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    // The fields are taken as they are, without any zone: timegm reads them as UTC.
    return static_cast<DateValue>(timegm(&fields));
}

DateParts DatePartsOf(DateValue date) {
    std::time_t t = static_cast<std::time_t>(date);
    std::tm fields{};
    gmtime_r(&t, &fields);
    return {fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday, fields.tm_hour,
            fields.tm_min,         fields.tm_sec,     fields.tm_wday};
}

namespace {

bool MatchesToken(std::string_view mask, size_t at, std::string_view token) {
    if (mask.size() - at < token.size()) return false;
    for (size_t i = 0; i < token.size(); ++i) {
        char c = mask[at + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != token[i]) return false;
    }
    return true;
}

}  // namespace

std::string FormatDate(std::string_view mask, DateValue date) {
    const DateParts p = DatePartsOf(date);
    struct Field {
        std::string_view token;  // after the '%', in small letters
        const char* format;
        int value;
    };
    // "yyyy" before "yy", so that the longer token wins.
    const Field fields[] = {{"yyyy", "%04d", p.year},  {"yy", "%02d", p.year % 100},
                            {"mm", "%02d", p.month},   {"dd", "%02d", p.day},
                            {"hh", "%02d", p.hour},    {"ii", "%02d", p.minute},
                            {"ss", "%02d", p.second}};
    std::string out;
    size_t i = 0;
    while (i < mask.size()) {
        if (mask[i] != '%') {
            out += mask[i++];
            continue;
        }
        ++i;
        const Field* match = nullptr;
        for (const Field& field : fields) {
            if (MatchesToken(mask, i, field.token)) {
                match = &field;
                break;
            }
        }
        if (!match) {
            out += '%';  // no token follows: the sign stays as it is
            continue;
        }
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, match->format, match->value);
        out += buffer;
        i += match->token.size();
    }
    return out;
}

namespace {

// Code points of bytes 0x80 to 0x9F; 0 marks the five the code page leaves
// undefined, which stand for the control characters of the same number.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t CodePointOf(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        char32_t c = kHighControls[byte - 0x80];
        return c ? c : byte;
    }
    return byte;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

char ByteOf(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (int i = 0; i < 32; ++i) {
        char32_t mapped = kHighControls[i] ? kHighControls[i] : static_cast<char32_t>(0x80 + i);
        if (mapped == c) return static_cast<char>(0x80 + i);
    }
    return '?';
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) AppendUtf8(out, CodePointOf(static_cast<unsigned char>(ch)));
    return out;
}

std::string Utf8ToCp1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3
                                      : (lead >> 3) == 0x1E ? 4 : 0;
        char32_t c = 0;
        bool valid = length != 0 && i + length <= text.size();
        if (valid) {
            c = length == 1 ? lead : lead & (0x7F >> length);
            for (size_t k = 1; k < length; ++k) {
                unsigned char next = static_cast<unsigned char>(text[i + k]);
                if ((next & 0xC0) != 0x80) {
                    valid = false;
                    break;
                }
                c = (c << 6) | (next & 0x3F);
            }
        }
        // An overlong form (C0 80 for NUL, C0 8A for LF) would let a control
        // character or a NUL past a check made on the UTF-8 text; surrogates
        // and values beyond U+10FFFF are no characters either.
        constexpr char32_t kShortestOfLength[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (valid && (c < kShortestOfLength[length] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF))
            valid = false;
        if (!valid) {
            out += '?';  // a broken sequence is one unreadable character
            ++i;
            continue;
        }
        out += ByteOf(c);
        i += length;
    }
    return out;
}
