#include "print/printed_year.h"

#include <cstdio>

std::string PrintedMomentText(const PrintedMoment& moment) {
    if (moment.kind == PrintedMoment::Kind::Above) return "*****";
    if (moment.kind == PrintedMoment::Kind::Below) return "-----";
    const int32_t clock = (moment.seconds % 86400 + 86400) % 86400;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", clock / 3600, clock / 60 % 60, clock % 60);
    if (moment.seconds >= 86400) return text + std::string("\u203A");
    if (moment.seconds < 0) return "\u2039" + std::string(text);
    return text;
}

namespace {

// The code point of the UTF-8 sequence at text[at] and its length; a
// malformed sequence is one byte of U+FFFD.
std::pair<char32_t, size_t> CodePoint(const std::string& text, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    const size_t length = lead < 0x80 ? 1 : lead >> 5 == 6 ? 2 : lead >> 4 == 14 ? 3 : lead >> 3 == 30 ? 4 : 0;
    if (length == 0 || at + length > text.size()) return {U'\uFFFD', 1};
    if (length == 1) return {lead, 1};
    char32_t code = lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        if (byte(at + i) >> 6 != 2) return {U'\uFFFD', 1};
        code = code << 6 | (byte(at + i) & 0x3F);
    }
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kLeast[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {U'\uFFFD', 1};
    return {code, length};
}

bool Unprintable(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) ||          // control characters
           c == 0x061C || c == 0x200E || c == 0x200F ||      // marks of direction
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) ||  // embeddings, overrides, isolates
           c == 0xFFFE || c == 0xFFFF;
}

std::string Printable(const std::string& text) {
    std::string kept;
    for (size_t at = 0; at < text.size();) {
        const auto [code, length] = CodePoint(text, at);
        if (code == U'\uFFFD' && length == 1 && static_cast<unsigned char>(text[at]) >= 0x80) kept += "\uFFFD";
        else if (!Unprintable(code)) kept.append(text, at, length);
        at += length;
    }
    return kept;
}

}  // namespace

PrintedYear PrintableYear(PrintedYear year) {
    for (std::string* text : {&year.title, &year.timeBasis, &year.definition, &year.summerKey})
        *text = Printable(*text);
    for (std::string& line : year.footer) line = Printable(line);
    return year;
}
