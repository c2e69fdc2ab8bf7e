// A hash of bytes that is the same on every machine and in every run, for
// identifiers that must not change between copies of a program: calendar
// UIDs, HTTP entity tags.
#pragma once

#include <cstdint>
#include <string_view>

// 64-bit FNV-1a of bytes.
inline std::uint64_t StableHash(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}
