// How the gazetteer's search keys are grouped: by their first three bytes,
// so that a query looks only at the keys that begin as it does.
#pragma once

#include <cstdint>
#include <string_view>

// Each byte one of 64 codes: 0 for none (a key shorter than three), a-z,
// 0-9, the blank, and the bytes of other scripts' letters spread over the rest.
inline constexpr std::uint32_t kKeyCodes = 64;
inline constexpr std::uint32_t kKeyGroups = kKeyCodes * kKeyCodes * kKeyCodes;

inline std::uint32_t KeyByteCode(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 'a' && byte <= 'z') return 1 + static_cast<std::uint32_t>(byte - 'a');
    if (byte >= '0' && byte <= '9') return 27 + static_cast<std::uint32_t>(byte - '0');
    if (byte < 0x80) return 37;
    return 38 + byte % 26;
}

// The group of a key, or of the keys a query of three bytes or more begins.
inline std::uint32_t KeyGroupOf(std::string_view key) {
    std::uint32_t group = 0;
    for (std::size_t k = 0; k < 3; ++k) group = group * kKeyCodes + (k < key.size() ? KeyByteCode(key[k]) : 0);
    return group;
}
