#include "places/name_folding.h"

#include <utf8proc.h>

#include <cstdint>

namespace {

// Letters that carry no accent to drop but are letters of their own; the
// search takes them as the plain letters a user types for them.
const char* OwnLetter(int32_t c) {
    switch (c) {
    case 0x00C6: case 0x00E6: return "ae";  // Æ æ
    case 0x0152: case 0x0153: return "oe";  // Œ œ
    case 0x00D8: case 0x00F8: return "o";   // Ø ø
    case 0x0110: case 0x0111: case 0x00D0: case 0x00F0: return "d";  // Đ đ Ð ð
    case 0x0141: case 0x0142: return "l";   // Ł ł
    case 0x00DE: case 0x00FE: return "th";  // Þ þ
    case 0x0131: case 0x0130: return "i";   // ı İ
    case 0x0126: case 0x0127: return "h";   // Ħ ħ
    case 0x0166: case 0x0167: return "t";   // Ŧ ŧ
    case 0x014A: case 0x014B: return "n";   // Ŋ ŋ
    case 0x0138: return "k";                // ĸ
    case 0x018F: case 0x0259: return "e";   // Ə ə
    case 0x0197: case 0x0268: return "i";   // Ɨ ɨ
    case 0x0192: return "f";                // ƒ
    default: return nullptr;
    }
}

// ä, ö and ü (either case) as the town field writes them.
const char* UmlautAsE(int32_t c) {
    switch (c) {
    case 0x00C4: case 0x00E4: return "ae";
    case 0x00D6: case 0x00F6: return "oe";
    case 0x00DC: case 0x00FC: return "ue";
    default: return nullptr;
    }
}

// Apostrophes and the like join the parts of one word (O'Fallon, Be’er Sheva).
bool IsApostrophe(int32_t c) {
    return c == '\'' || c == '`' || c == 0x2018 || c == 0x2019 || c == 0x02BC || c == 0x00B4;
}

class FoldedText {
public:
    explicit FoldedText(size_t size) { text_.reserve(size); }
    void Letter(char c) {
        if (gap_ && !text_.empty()) text_ += ' ';
        gap_ = false;
        text_ += c;
    }
    void Letters(const char* letters) {
        while (*letters) Letter(*letters++);
    }
    void Bytes(const char* bytes, size_t length) {
        for (size_t k = 0; k < length; ++k) Letter(bytes[k]);
    }
    void Gap() { gap_ = true; }
    bool EndsInVowelOf(const char* vowels) const {
        if (gap_ || text_.empty()) return false;
        for (const char* v = vowels; *v; ++v)
            if (text_.back() == *v) return true;
        return false;
    }
    std::string Take() { return std::move(text_); }

private:
    std::string text_;
    bool gap_ = false;
};

// A code point below 128 folded: letters small, digits kept, apostrophes
// dropped, any other sign a gap. False when it is no such code point.
bool FoldAscii(int32_t c, FoldedText& out) {
    if (c >= 0x80 || c < 0) return false;
    if (c >= 'A' && c <= 'Z') out.Letter(static_cast<char>(c - 'A' + 'a'));
    else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) out.Letter(static_cast<char>(c));
    else if (!IsApostrophe(c)) out.Gap();
    return true;
}

void FoldOther(int32_t c, bool umlautsAsE, FoldedText& out) {
    if (const char* written = umlautsAsE ? UmlautAsE(c) : nullptr) return out.Letters(written);
    if (const char* letter = OwnLetter(c)) return out.Letters(letter);
    // A diaeresis typed as a mark of its own after a, o or u.
    if (c == 0x0308 && umlautsAsE && out.EndsInVowelOf("aou")) return out.Letter('e');
    if (IsApostrophe(c)) return;
    int32_t parts[16];
    int boundary = 0;
    const auto options = static_cast<utf8proc_option_t>(UTF8PROC_DECOMPOSE | UTF8PROC_COMPAT |
                                                        UTF8PROC_CASEFOLD | UTF8PROC_STRIPMARK);
    const utf8proc_ssize_t count = utf8proc_decompose_char(c, parts, 16, options, &boundary);
    bool plain = false;
    for (utf8proc_ssize_t k = 0; k < count && k < 16; ++k) {
        const int32_t part = parts[k];
        if ((part >= 'a' && part <= 'z') || (part >= '0' && part <= '9')) {
            out.Letter(static_cast<char>(part));
            plain = true;
        }
    }
    if (plain) return;
    // A letter of another script (Cyrillic, Greek, Han...) stays, small and
    // without its marks, so that a query in that script finds it; a mark is
    // dropped; anything else parts words.
    switch (utf8proc_category(c)) {
    case UTF8PROC_CATEGORY_LU: case UTF8PROC_CATEGORY_LL: case UTF8PROC_CATEGORY_LT:
    case UTF8PROC_CATEGORY_LO:
        for (utf8proc_ssize_t k = 0; k < count && k < 16; ++k) {
            utf8proc_uint8_t bytes[4];
            const utf8proc_ssize_t length = utf8proc_encode_char(parts[k], bytes);
            if (length > 0 && utf8proc_category(parts[k]) != UTF8PROC_CATEGORY_MN)
                out.Bytes(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length));
        }
        return;
    case UTF8PROC_CATEGORY_LM: case UTF8PROC_CATEGORY_MN: case UTF8PROC_CATEGORY_MC:
    case UTF8PROC_CATEGORY_ME:
        return;
    default:
        out.Gap();
    }
}

}  // namespace

std::string FoldForSearch(std::string_view utf8, bool umlautsAsE) {
    FoldedText out(utf8.size());
    const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(utf8.data());
    const auto size = static_cast<utf8proc_ssize_t>(utf8.size());
    for (utf8proc_ssize_t at = 0; at < size;) {
        if (bytes[at] < 0x80) {
            FoldAscii(bytes[at++], out);
            continue;
        }
        int32_t c = 0;
        const utf8proc_ssize_t length = utf8proc_iterate(bytes + at, size - at, &c);
        if (length <= 0) {
            ++at;  // not UTF-8: the byte is dropped
            continue;
        }
        at += length;
        FoldOther(c, umlautsAsE, out);
    }
    return out.Take();
}

bool IsUtf8(std::string_view text) {
    // utf8proc refuses overlong forms, surrogates and code points beyond U+10FFFF.
    const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
    const auto size = static_cast<utf8proc_ssize_t>(text.size());
    for (utf8proc_ssize_t at = 0; at < size;) {
        utf8proc_int32_t c = 0;
        const utf8proc_ssize_t length = utf8proc_iterate(bytes + at, size - at, &c);
        if (length <= 0) return false;
        at += length;
    }
    return true;
}

std::uint8_t AccentMark(std::string_view utf8) {
    std::uint32_t hash = 2166136261u;
    bool accented = false;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        accented = accented || byte >= 0x80;
        hash = (hash ^ (byte >= 'A' && byte <= 'Z' ? byte + 32u : byte)) * 16777619u;
    }
    if (!accented) return 0;
    const auto mark = static_cast<std::uint8_t>(hash ^ (hash >> 8) ^ (hash >> 16) ^ (hash >> 24));
    return mark == 0 ? 1 : mark;
}
