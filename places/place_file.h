// The shipped place file read line by line: what the programs fall back on
// without its index, and what the index is made of.
#pragma once

#include "places/gazetteer.h"
#include "places/place_index_file.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

struct ShippedPlaces {
    std::shared_ptr<const PlaceStorage> storage;  // the places read, even from a damaged file
    std::vector<PlaceCountry> countries;          // sorted by code
    std::vector<PlaceRegion> regions;
    PlaceFileStamp stamp;  // the file's size and what its header promises
    std::string fault;     // empty when the file is sound, else what is wrong in one line
};

// Reads the place file at placeFile, in bounded memory and only when it is
// a regular file.
ShippedPlaces ReadShippedPlaces(const std::filesystem::path& placeFile);

// The countries and regions as the index file keeps them, a line each.
std::string TableLines(const std::vector<PlaceCountry>& countries, const std::vector<PlaceRegion>& regions);
