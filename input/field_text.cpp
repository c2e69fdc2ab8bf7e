#include "input/field_text.h"

std::string TownCapitals(std::string cp1252) {
    for (char& c : cp1252) {
        unsigned char b = static_cast<unsigned char>(c);
        if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7)) b -= 0x20;
        else if (b == 0x9A || b == 0x9C || b == 0x9E) b -= 0x10;  // š œ ž
        else if (b == 0xFF) b = 0x9F;                             // ÿ
        c = static_cast<char>(b);
    }
    return cp1252;
}

bool IsControlByte(char cp1252) {
    const unsigned char b = static_cast<unsigned char>(cp1252);
    return b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

std::string FieldEntry(std::string_view cp1252, unsigned rules) {
    std::string kept;
    kept.reserve(cp1252.size());
    for (char c : cp1252) {
        if (IsControlByte(c)) continue;
        if ((rules & kFieldDigitsOnly) && !(c >= '0' && c <= '9')) continue;
        kept += c;
    }
    return (rules & kFieldCapitals) ? TownCapitals(std::move(kept)) : kept;
}
