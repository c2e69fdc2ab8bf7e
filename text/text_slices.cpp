#include "text/text_slices.h"

#include <algorithm>

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
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
