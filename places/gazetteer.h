// The gazetteer: the places the programs find by name, offline. The shipped
// place file (DatenE/Places.tsv, made by tools/assets/make-places from the
// GeoNames places of 500 people or more) and the user's own places
// (DatenE/OwnPlaces.csv, the batch file's columns plus time_zone) are read
// once at start; afterwards the gazetteer is read-only.
#pragma once

#include "places/name_folding.h"
#include "places/place_table.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
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
    std::string feature;      // GeoNames' feature code, as "PPLC" (capital) or "PPLX" (district); empty when own
};

// A country as a query may name it after a comma.
struct PlaceCountry {
    std::string code;                 // ISO 3166-1 alpha-2
    std::string name;                 // English short name
    std::vector<std::string> folded;  // FoldForSearch of every name it is written by, English first
};

// A region (GeoNames' admin1) as a query may name it after a comma.
struct PlaceRegion {
    std::string country;       // ISO 3166-1 alpha-2
    std::string name;          // as Place::region
    std::string abbreviation;  // the ISO 3166-2 code's part after the country, as "IL", "NSW"
    std::string folded;        // FoldForSearch(name)
};

// The places: the user's own first, then the shipped ones, each a table
// whose memory the storage keeps (shared, so that a copy costs nothing).
// A place is known by its index in that order.
struct Gazetteer {
    PlaceTable own;
    PlaceTable shipped;
    std::vector<PlaceCountry> countries;  // sorted by code; PlaceRecord::country indexes it
    std::vector<PlaceRegion> regions;     // PlaceRecord::region indexes it
    std::vector<std::shared_ptr<const PlaceStorage>> storage;
};

// How many places the gazetteer holds.
std::size_t PlaceCount(const Gazetteer& gazetteer);
// The place of an index below PlaceCount.
Place PlaceAt(const Gazetteer& gazetteer, std::uint32_t index);

struct GazetteerLoad {
    Gazetteer gazetteer;
    // One line per file that could not be read or had faults, to be reported
    // once; the gazetteer then holds what could be read (possibly nothing).
    std::vector<std::string> problems;
};

// Reads the shipped place file and the user's own places, each in bounded
// memory and only when it is a regular file. The shipped places come from
// the index file beside the place file (Places.idx, made at build time by
// kelmorven-place-index) when it was made from that very file, else from
// the place file itself. A missing or empty own places
// file is no problem; a bad own row is left out and named by its line; an
// own places file above kMostOwnPlacesBytes is refused. A place file that is
// missing, cut or damaged (its count of places and checksum do not hold)
// is reported; the places that could be read stay.
GazetteerLoad LoadGazetteer(const std::filesystem::path& placeFile,
                            const std::filesystem::path& ownPlacesFile);

// Places with how well each matched: index into Gazetteer::places, grade.
using PlaceHits = std::vector<std::pair<std::uint32_t, std::uint8_t>>;

// Each place once, by its highest grade; places is the gazetteer's count.
void KeepBest(PlaceHits& hits, std::size_t places);

// The largest own places file read.
inline constexpr std::uintmax_t kMostOwnPlacesBytes = 10'000'000;

struct PlaceMatches {
    std::vector<Place> best;          // at most limit, best first
    std::vector<std::uint32_t> indices;  // their indices in the gazetteer
    std::size_t total = 0;           // how many places match in all
    // Nothing matched: best holds the places whose name is a close spelling
    // of the query (at most 1 edit for names of up to 5 letters, 2 beyond),
    // never to be taken without asking.
    bool closeSpellings = false;
    // Nothing matched and the words after a comma name no country or region:
    // those words as typed, for "no country or region '...'".
    std::string unknownPlace;
};

// The places whose name or alternate name begins with the query, both
// folded by FoldForSearch; a query that is not UTF-8 is read as code page
// 1252. St./St/Saint/Sankt, Mt./Mount and Ft./Fort are one word each.
// Each part after a comma narrows them to a region (its ISO code's part, as
// "IL", or its name, "Illinois") or a country (its ISO code, the beginning
// of its English name, or its name in German, French, Spanish, Italian,
// Dutch, Portuguese or Polish), as "Springfield, Illinois, US"; a query whose
// name holds a comma itself ("Washington, D.C.") is found too.
// Ranking: own places first, then an exact name before a prefix, the
// place's own name before an alternate, a name with the accents as typed,
// capitals and seats before other places and districts last, then the
// larger population.
PlaceMatches FindPlaces(const Gazetteer& gazetteer, std::string_view query, std::size_t limit);

// The shipped place with GeoNames' id id, if there is one.
std::optional<Place> FindPlaceById(const Gazetteer& gazetteer, std::int64_t id);
