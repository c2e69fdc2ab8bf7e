#include "text/shown_text.h"

#include <algorithm>
#include <cstdio>

std::string ShownText(std::string_view text, std::size_t most, ShownBytes kept) {
    size_t end = std::min(text.size(), most);
    // Never half a UTF-8 character.
    while (end < text.size() && end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    std::string shown;
    for (size_t i = 0; i < end; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\n') {
            shown += "\\n";
        } else if (c == '\t') {
            shown += "\\t";
        } else if (c == '\\' || c == '"') {
            shown += '\\';
            shown += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7f || (kept == ShownBytes::Ascii && c > 0x7f)) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            shown += hex;
        } else {
            shown += static_cast<char>(c);
        }
    }
    if (end < text.size()) shown += "...";
    return shown;
}
