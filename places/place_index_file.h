// The place index file: the shipped places' table as it lies in memory,
// written at build time beside the place file and mapped at start, so that
// the programs neither parse the place file nor hold a copy of it.
#pragma once

#include "places/place_table.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

// What tells the place file an index was made from: its size and the count
// and checksum its header promises.
struct PlaceFileStamp {
    std::uint64_t size = 0;
    std::uint64_t places = 0;
    std::uint32_t checksum = 0;
    bool operator==(const PlaceFileStamp&) const = default;
};

// The index file of a place file: Places.tsv's is Places.idx.
std::filesystem::path PlaceIndexPath(const std::filesystem::path& placeFile);

// Writes storage's arrays, the countries' and regions' lines and the
// stamp to path, through a file beside it renamed into place; empty when
// done, else what failed.
std::string WritePlaceIndex(const std::filesystem::path& path, const PlaceStorage& storage,
                            std::string_view tableLines, const PlaceFileStamp& stamp);

struct MappedPlaceIndex {
    std::shared_ptr<const PlaceStorage> storage;  // the mapping
    PlaceTable table;                             // views into it
    std::string_view tableLines;                  // the countries and regions, as written
};

// The index at path mapped, when it is a regular file made for stamp on a
// machine of this byte order and every offset in it lies within it; else
// an empty storage (the caller then reads the place file).
MappedPlaceIndex MapPlaceIndex(const std::filesystem::path& path, const PlaceFileStamp& stamp);
