// One set of places with their search keys, laid out as flat arrays: the
// same layout in memory and in the place index file, so that a table can
// be read straight from a mapping of that file or built at load.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// A place, with its names in PlaceTable::text.
struct PlaceRecord {
    static constexpr std::uint16_t kNone = UINT16_MAX;  // no country or region

    double latitude = 0;   // degrees, north positive
    double longitude = 0;  // degrees, east positive
    std::int64_t population = 0;
    std::uint32_t geonameId = 0;  // 0 for an own place
    // Into text: the name, then the ASCII name, then an own place's zone
    // column as typed, one after another.
    std::uint32_t names = 0;
    std::uint32_t timeZone = 0;  // into text; the IANA name, shared by the places of one zone
    std::uint32_t feature = 0;   // into text; GeoNames' feature code, as "PPLC"
    std::uint16_t nameLength = 0, asciiLength = 0, zoneLength = 0, timeZoneLength = 0;
    std::uint16_t country = kNone;  // index into Gazetteer::countries
    std::uint16_t region = kNone;   // index into Gazetteer::regions
    std::uint8_t featureLength = 0;
    std::uint8_t reserved[3] = {};
};
static_assert(sizeof(PlaceRecord) == 56);

// One search key: a folded spelling of a place's name (FoldForSearch),
// held in PlaceTable::keyText.
struct PlaceKey {
    enum Kind : std::uint8_t {
        kName,       // the place's own name or its ASCII form
        kAlternate,  // one of its alternate names
        kShortName,  // a short name in capitals, as "NYC": found only when typed whole
    };
    std::uint32_t offset = 0;  // into keyText
    std::uint16_t length = 0;
    Kind kind = kName;
    std::uint8_t accent = 0;   // AccentMark of the spelling before folding
    std::uint32_t place = 0;   // index into records
};
static_assert(sizeof(PlaceKey) == 12);

// Views of one table's arrays, which a PlaceStorage keeps.
struct PlaceTable {
    std::span<const PlaceRecord> records;
    std::string_view text;  // the records' names, zones and feature codes
    // The keys grouped by their first three characters (KeyGroupOf): group g
    // holds keys[groupStart[g]] up to keys[groupStart[g + 1]], so that a
    // query looks only at the keys that begin as it does.
    std::span<const PlaceKey> keys;
    std::string_view keyText;
    std::span<const std::uint32_t> groupStart;
    // Per record: how likely it is meant among equal matches (PlaceLikelihood).
    std::span<const float> likelihood;
    // The records with a GeoNames id, by that id.
    std::span<const std::uint32_t> byId;
};

// The memory behind a table: arrays built at load, or a mapped index file.
struct PlaceStorage {
    PlaceStorage() = default;
    PlaceStorage(const PlaceStorage&) = delete;
    PlaceStorage& operator=(const PlaceStorage&) = delete;
    ~PlaceStorage();

    std::vector<PlaceRecord> records;
    std::string text;
    std::vector<PlaceKey> keys;
    std::string keyText;
    std::vector<std::uint32_t> groupStart;
    std::vector<float> likelihood;
    std::vector<std::uint32_t> byId;
    const void* mapping = nullptr;  // an index file mapped, unmapped with the storage
    std::size_t mappingSize = 0;

    // The views of the built arrays.
    PlaceTable Table() const;
};

inline std::string_view RecordText(const PlaceTable& t, std::uint32_t at, std::size_t length) {
    return t.text.substr(at, length);
}
inline std::string_view NameOf(const PlaceTable& t, const PlaceRecord& r) { return RecordText(t, r.names, r.nameLength); }
inline std::string_view AsciiNameOf(const PlaceTable& t, const PlaceRecord& r) {
    return RecordText(t, r.names + r.nameLength, r.asciiLength);
}
inline std::string_view ZoneColumnOf(const PlaceTable& t, const PlaceRecord& r) {
    return RecordText(t, r.names + r.nameLength + r.asciiLength, r.zoneLength);
}
inline std::string_view TimeZoneOf(const PlaceTable& t, const PlaceRecord& r) {
    return RecordText(t, r.timeZone, r.timeZoneLength);
}
inline std::string_view FeatureOf(const PlaceTable& t, const PlaceRecord& r) {
    return RecordText(t, r.feature, r.featureLength);
}

// The fields of a place as the table builder takes them.
struct PlaceFields {
    std::string_view name, asciiName, zone, timeZone, feature;
    double latitude = 0, longitude = 0;
    std::int64_t population = 0;
    std::uint32_t geonameId = 0;
    std::uint16_t country = PlaceRecord::kNone, region = PlaceRecord::kNone;
};

// Builds a table place by place: each place's keys, each spelling once,
// then the groups, likelihoods and the order by id.
class PlaceTableBuilder {
public:
    PlaceTableBuilder();
    ~PlaceTableBuilder();
    PlaceTableBuilder(const PlaceTableBuilder&) = delete;
    PlaceTableBuilder& operator=(const PlaceTableBuilder&) = delete;

    // About how many places and bytes of names will come.
    void Reserve(std::size_t places, std::size_t bytes);

    // A new place; false (and nothing kept) when a field is longer than the
    // table holds (64 KiB a name) or the table is full.
    bool AddPlace(const PlaceFields& fields);
    // A search name of the last place added: both foldings of it, and each
    // part of a name joined by a slash ("Biel/Bienne").
    void AddName(std::string_view name, PlaceKey::Kind kind);

    std::size_t Count() const;
    std::shared_ptr<const PlaceStorage> Finish();

private:
    struct Work;
    std::unique_ptr<Work> work_;
};
