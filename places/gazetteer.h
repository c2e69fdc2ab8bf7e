// The gazetteer: the places the programs find by name, offline. The shipped
// place file (DatenE/Places.tsv, made by tools/assets/make-places from the
// GeoNames cities of 15,000 people or more) and the user's own places
// (DatenE/OwnPlaces.csv, the batch file's columns plus time_zone) are read
// once at start; afterwards the gazetteer is read-only.
#pragma once

#include "places/name_folding.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

struct Place {
    std::string name;         // UTF-8 as the data spells it
    std::string asciiName;    // the same in ASCII letters
    std::string country;      // ISO 3166-1 alpha-2 code, capitals; empty for an own place without one
    std::string countryName;  // English name of the country, may be empty
    double latitude = 0;      // degrees, north positive
    double longitude = 0;     // degrees, east positive
    std::string timeZone;     // IANA name, as "Europe/Zurich"; may be empty for an own place
    std::int64_t population = 0;
    bool own = false;         // from the user's own places file: ranks before the shipped ones
    std::string zone;         // an own place without a time zone: its zone column, hours as typed
    std::int64_t geonameId = 0;  // GeoNames' id of a shipped place; 0 for an own place
    std::string region;       // the region's (admin1's) name, as "Illinois"; empty when unknown
};

// One search key: a folded spelling of a place's name (FoldForSearch),
// held in Gazetteer::keyText.
struct PlaceKey {
    std::uint32_t offset = 0;  // into keyText
    std::uint32_t length = 0;
    std::uint32_t place = 0;   // index into places
};

struct Gazetteer {
    std::vector<Place> places;   // own places first
    std::string keyText;         // every key's folded text, one after another
    // The keys grouped by their first two characters: group g holds
    // keys[groupStart[g]] up to keys[groupStart[g + 1]], so that a query
    // looks only at the keys that begin as it does.
    std::vector<PlaceKey> keys;
    std::vector<std::uint32_t> groupStart;
};

struct GazetteerLoad {
    Gazetteer gazetteer;
    // One line per file that could not be read or had faults, to be reported
    // once; the gazetteer then holds what could be read (possibly nothing).
    std::vector<std::string> problems;
};

// Reads the shipped place file and the user's own places. A missing own
// places file is no problem; a missing or damaged place file leaves the
// gazetteer without shipped places and says so in problems.
GazetteerLoad LoadGazetteer(const std::filesystem::path& placeFile,
                            const std::filesystem::path& ownPlacesFile);

struct PlaceMatches {
    std::vector<const Place*> best;  // at most limit, best first
    std::size_t total = 0;           // how many places match in all
};

// The places whose name or alternate name begins with the query (UTF-8),
// both folded by FoldForSearch. An optional country after the last comma
// narrows them: its ISO code ("Frankfurt, DE") or the beginning of its
// name ("Frankfurt, Germany"). A window program passes its code page 1252
// field text through Cp1252ToUtf8 first.
// Ranking: own places first, then an exact name before a prefix, then the
// larger population.
PlaceMatches FindPlaces(const Gazetteer& gazetteer, std::string_view query, std::size_t limit);

// The shipped place with GeoNames' id id, or nullptr when there is none.
const Place* FindPlaceById(const Gazetteer& gazetteer, std::int64_t id);
