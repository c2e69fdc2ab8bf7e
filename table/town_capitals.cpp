#include "table/town_capitals.h"

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
