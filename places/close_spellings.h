// The fallback of the search for typos: names a letter or two away from
// what was typed.
#pragma once

#include "places/gazetteer.h"

#include <cstdint>
#include <string>
#include <vector>

// The most edits between a typed name of up to kShortNameLength letters and
// a close spelling: 1; beyond: 2.
inline constexpr std::size_t kShortNameLength = 5;

// The places with a key at most 1 or 2 edits (a letter added, dropped,
// changed, or two swapped) from folded, a whole folded name of at least
// 4 letters; keys are looked at only where they share folded's first
// letter. rank[place] is set for each, smaller for better: the edits, an
// own name before an alternate one.
std::vector<std::uint32_t> CloseSpellings(const Gazetteer& gazetteer, const std::string& folded,
                                          std::vector<std::uint8_t>& rank);

// The edits between a and b (optimal string alignment), or more than most
// as soon as it exceeds most.
std::size_t EditDistance(std::string_view a, std::string_view b, std::size_t most);
