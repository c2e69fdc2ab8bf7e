#include "text/code_page.h"

#include <optional>

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

namespace {

// The code point of the UTF-8 sequence of length bytes at the start of
// bytes; nothing when it is broken. An overlong form (C0 80 for NUL, C0 8A
// for LF) would let a control character or a NUL past a check made on the
// UTF-8 text; surrogates and values beyond U+10FFFF are no characters either.
std::optional<char32_t> DecodeUtf8(std::string_view bytes, size_t length) {
    if (length == 0 || length > bytes.size()) return std::nullopt;
    const unsigned char lead = static_cast<unsigned char>(bytes[0]);
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        const unsigned char next = static_cast<unsigned char>(bytes[k]);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        c = (c << 6) | (next & 0x3F);
    }
    constexpr char32_t kShortestOfLength[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kShortestOfLength[length] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return std::nullopt;
    return c;
}

}  // namespace

std::string Utf8ToCp1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3
                                          : (lead >> 3) == 0x1E ? 4 : 0;
        const std::optional<char32_t> c = DecodeUtf8(text.substr(i), length);
        if (!c) {
            out += '?';  // a broken sequence is one unreadable character
            ++i;
            continue;
        }
        out += ByteOf(*c);
        i += length;
    }
    return out;
}
