// The gazetteer's two tables as the search walks them: the own places',
// whose indices come first, and the shipped ones'.
#pragma once

#include "places/gazetteer.h"
#include "places/place_keys.h"

#include <array>
#include <cstdint>

struct TableAt {
    const PlaceTable* table;
    std::uint32_t first;  // the gazetteer's index of the table's first record
};

inline std::array<TableAt, 2> TablesOf(const Gazetteer& g) {
    return {{{&g.own, 0}, {&g.shipped, static_cast<std::uint32_t>(g.own.records.size())}}};
}

// Whether a table's keys are grouped as a search expects: an empty table's are not.
inline bool Searchable(const PlaceTable& t) { return t.groupStart.size() == kKeyGroups + 1; }

// The table of a gazetteer index and the record's index in it.
inline std::pair<const PlaceTable*, std::uint32_t> Locate(const Gazetteer& g, std::uint32_t index) {
    const auto own = static_cast<std::uint32_t>(g.own.records.size());
    return index < own ? std::pair{&g.own, index} : std::pair{&g.shipped, index - own};
}

inline const PlaceRecord& RecordAt(const Gazetteer& g, std::uint32_t index) {
    const auto [table, k] = Locate(g, index);
    return table->records[k];
}

inline bool IsOwn(const Gazetteer& g, std::uint32_t index) { return index < g.own.records.size(); }
