// Reading the place file and the own places into a gazetteer.
#include "places/gazetteer.h"

#include "calc/civil_time_zone.h"
#include "input/batch_file.h"
#include "places/bounded_file.h"
#include "places/place_keys.h"
#include "places/place_likelihood.h"
#include "text/shown_text.h"
#include "text/code_page.h"
#include "text/text_slices.h"

#include <zlib.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <unordered_map>

namespace {

constexpr std::string_view kCheckLine = "#check\t";
constexpr std::string_view kCountryHeader = "code\tcountry\tnames";
constexpr std::string_view kRegionHeader = "region\tname\tcode";
constexpr std::string_view kPlaceHeader =
    "geoname_id\tname\tascii_name\talternate_names\tcountry\tregion\tfeature\tlatitude\tlongitude\ttime_zone"
    "\tpopulation";
constexpr size_t kPlaceFields = 11;
// New York has 6 kB of alternate names; a line beyond this is damage.
constexpr size_t kLongestPlaceLine = 1 << 20;
// The most bad lines named one by one.
constexpr size_t kFaultsNamed = 3;

// Splits text at sep into at most n fields; the count of fields found, n + 1 for more.
size_t SplitInto(std::string_view text, char sep, std::string_view* fields, size_t n) {
    size_t count = 0;
    for (;;) {
        const size_t end = text.find(sep);
        if (count == n) return n + 1;
        fields[count++] = text.substr(0, end);
        if (end == std::string_view::npos) return count;
        text.remove_prefix(end + 1);
    }
}

template <typename Number>
bool ReadNumber(std::string_view text, Number& value) {
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && at == end && !text.empty();
}

bool OnEarth(double latitude, double longitude) {
    return latitude >= -90 && latitude <= 90 && longitude >= -180 && longitude <= 180;
}

// Whether a name holds ä, ö or ü (either case, composed or with the
// diaeresis apart): only then does it fold two ways.
bool HasUmlaut(std::string_view utf8) {
    for (size_t at = 0; at + 1 < utf8.size(); ++at) {
        const auto byte = static_cast<unsigned char>(utf8[at]);
        if (byte < 0xC3) continue;
        const auto next = static_cast<unsigned char>(utf8[at + 1]);
        if (byte == 0xCC ? next == 0x88
                         : byte == 0xC3 && (next == 0xA4 || next == 0xB6 || next == 0xBC || next == 0x84 ||
                                            next == 0x96 || next == 0x9C))
            return true;
    }
    return false;
}

// A short name in capitals, as "NYC": typed whole or not at all, since as a
// beginning it would push aside every name that starts so.
bool IsShortName(std::string_view name) {
    return name.size() >= 2 && name.size() <= 5 &&
           std::all_of(name.begin(), name.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

// Gathers the places' keys, each spelling once per place, then groups them.
class KeyBuilder {
public:
    explicit KeyBuilder(Gazetteer& gazetteer) : g_(gazetteer) {}

    // Both foldings of a name; a name of parts joined by a slash ("Biel/Bienne")
    // under each part as well.
    void Add(std::string_view name, std::uint32_t place, PlaceKey::Kind kind) {
        if (place != place_) EndPlace(place);
        if (kind == PlaceKey::kAlternate && IsShortName(name)) kind = PlaceKey::kShortName;
        const std::uint8_t accent = AccentMark(name);
        Put(FoldForSearch(name, false), place, kind, accent);
        if (HasUmlaut(name)) Put(FoldForSearch(name, true), place, kind, accent);
        if (name.find('/') != std::string_view::npos) {
            for (size_t start = 0; start <= name.size();) {
                const size_t slash = std::min(name.find('/', start), name.size());
                if (slash > start && slash - start < name.size()) Add(name.substr(start, slash - start), place, kind);
                start = slash + 1;
            }
        }
    }

    void Group() {
        EndPlace(UINT32_MAX);
        std::vector<std::uint32_t> start(kKeyGroups + 1, 0);
        for (const PlaceKey& key : loose_) ++start[KeyGroupOf(Text(key)) + 1];
        for (std::uint32_t g = 0; g < kKeyGroups; ++g) start[g + 1] += start[g];
        g_.keys.resize(loose_.size());
        std::vector<std::uint32_t> next(start.begin(), start.end() - 1);
        for (const PlaceKey& key : loose_) g_.keys[next[KeyGroupOf(Text(key))]++] = key;
        g_.groupStart = std::move(start);
        loose_ = {};
    }

    void Reserve(size_t keys, size_t text) {
        loose_.reserve(keys);
        g_.keyText.reserve(text);
    }

private:
    std::string_view Text(const PlaceKey& key) const {
        return std::string_view(g_.keyText).substr(key.offset, key.length);
    }

    void Put(const std::string& folded, std::uint32_t place, PlaceKey::Kind kind, std::uint8_t accent) {
        if (folded.empty() || folded.size() > UINT16_MAX) return;
        loose_.push_back({static_cast<std::uint32_t>(g_.keyText.size()), static_cast<std::uint16_t>(folded.size()),
                          kind, accent, place});
        g_.keyText += folded;
    }

    // The place's keys sorted, so that a spelling found twice (with the same
    // accents) is kept once, by its best kind: a sort, not a search for each new key, which would
    // take a place with thousands of alternate names quadratic time.
    void EndPlace(std::uint32_t next) {
        if (loose_.size() - first_ > 1) {
            const auto begin = loose_.begin() + static_cast<std::ptrdiff_t>(first_);
            std::sort(begin, loose_.end(), [&](const PlaceKey& a, const PlaceKey& b) {
                const std::string_view x = Text(a), y = Text(b);
                return x != y ? x < y : a.accent != b.accent ? a.accent < b.accent : a.kind < b.kind;
            });
            const auto end = std::unique(begin, loose_.end(), [&](const PlaceKey& a, const PlaceKey& b) {
                return a.accent == b.accent && Text(a) == Text(b);
            });
            loose_.erase(end, loose_.end());
        }
        first_ = loose_.size();
        place_ = next;
    }

    Gazetteer& g_;
    std::vector<PlaceKey> loose_;
    std::uint32_t place_ = UINT32_MAX;
    size_t first_ = 0;
};

// What the place file holds besides its places, while they are read.
struct PlaceFileParts {
    std::unordered_map<std::string, std::uint32_t> regionOf;  // "US.IL" -> index into regions
    std::size_t promisedPlaces = 0;
    std::uint32_t promisedChecksum = 0;
    bool checked = false;  // the file has its count and checksum line
};

const PlaceCountry* CountryOf(const Gazetteer& g, std::string_view code) {
    const auto at = std::lower_bound(g.countries.begin(), g.countries.end(), code,
                                     [](const PlaceCountry& c, std::string_view k) { return c.code < k; });
    return at != g.countries.end() && at->code == code ? &*at : nullptr;
}

// One place line into g and keys; false when it is not a place.
bool ReadPlaceLine(std::string_view line, const PlaceFileParts& parts, Gazetteer& g, KeyBuilder& keys) {
    std::string_view f[kPlaceFields];
    Place place;
    if (SplitInto(line, '\t', f, kPlaceFields) != kPlaceFields) return false;
    if (!ReadNumber(f[0], place.geonameId) || place.geonameId <= 0 || !ReadNumber(f[7], place.latitude) ||
        !ReadNumber(f[8], place.longitude) || !OnEarth(place.latitude, place.longitude) ||
        !ReadNumber(f[10], place.population) || f[1].empty() || f[9].empty())
        return false;
    place.name = f[1];
    place.asciiName = f[2];
    place.country = f[4];
    place.feature = f[6];
    place.timeZone = f[9];
    if (const PlaceCountry* country = CountryOf(g, place.country)) place.countryName = country->name;
    if (!f[5].empty()) {
        const auto region = parts.regionOf.find(place.country + "." + std::string(f[5]));
        if (region != parts.regionOf.end()) place.region = g.regions[region->second].name;
    }
    const auto index = static_cast<std::uint32_t>(g.places.size());
    keys.Add(f[1], index, PlaceKey::kName);
    if (f[2] != f[1]) keys.Add(f[2], index, PlaceKey::kName);
    for (std::string_view alternates = f[3]; !alternates.empty();) {
        const size_t comma = alternates.find(',');
        keys.Add(alternates.substr(0, comma), index, PlaceKey::kAlternate);
        alternates.remove_prefix(comma == std::string_view::npos ? alternates.size() : comma + 1);
    }
    g.places.push_back(std::move(place));
    return true;
}

bool ReadCountryLine(std::string_view line, Gazetteer& g) {
    std::string_view f[3];
    if (SplitInto(line, '\t', f, 3) != 3 || f[0].size() != 2) return false;
    PlaceCountry country{std::string(f[0]), std::string(f[1]), {FoldForSearch(f[1])}};
    for (std::string_view names = f[2]; !names.empty();) {
        const size_t comma = names.find(',');
        country.folded.push_back(FoldForSearch(names.substr(0, comma)));
        names.remove_prefix(comma == std::string_view::npos ? names.size() : comma + 1);
    }
    g.countries.push_back(std::move(country));
    return true;
}

bool ReadRegionLine(std::string_view line, Gazetteer& g, PlaceFileParts& parts) {
    std::string_view f[3];
    if (SplitInto(line, '\t', f, 3) != 3 || f[0].size() < 4 || f[0][2] != '.') return false;
    parts.regionOf.emplace(std::string(f[0]), static_cast<std::uint32_t>(g.regions.size()));
    g.regions.push_back({std::string(f[0].substr(0, 2)), std::string(f[1]), std::string(f[2]), FoldForSearch(f[1])});
    return true;
}

bool ReadCheckLine(std::string_view line, PlaceFileParts& parts) {
    std::string_view f[3];
    if (SplitInto(line, '\t', f, 3) != 3 || !ReadNumber(f[1], parts.promisedPlaces)) return false;
    const auto [at, error] = std::from_chars(f[2].data(), f[2].data() + f[2].size(), parts.promisedChecksum, 16);
    return parts.checked = error == std::errc() && at == f[2].data() + f[2].size();
}

enum class PlacePart { Start, Countries, Regions, Places };

// One line of the shipped place file in the part the file is in, moving to
// the next part at its header; false for a line that is not what its part holds.
bool ReadPlaceFileLine(std::string_view line, PlacePart& part, PlaceFileParts& parts, Gazetteer& g, KeyBuilder& keys) {
    switch (part) {
    case PlacePart::Start:
        if (line.rfind(kCheckLine, 0) == 0) return ReadCheckLine(line, parts);
        if (line == kCountryHeader) {
            part = PlacePart::Countries;
            return true;
        }
        return line.empty() || line[0] == '#';
    case PlacePart::Countries:
        if (line != kRegionHeader) return ReadCountryLine(line, g);
        std::sort(g.countries.begin(), g.countries.end(),
                  [](const PlaceCountry& a, const PlaceCountry& b) { return a.code < b.code; });
        part = PlacePart::Regions;
        return true;
    case PlacePart::Regions:
        if (line != kPlaceHeader) return ReadRegionLine(line, g, parts);
        part = PlacePart::Places;
        return true;
    case PlacePart::Places:
        return ReadPlaceLine(line, parts, g, keys);
    }
    return false;
}

// What is wrong with the whole file, in one line: a read error, missing
// headers, or a count or checksum other than its header promises; empty
// when all is well.
std::string PlaceFileFault(std::string error, PlacePart part, const PlaceFileParts& parts, size_t places,
                           uLong checksum) {
    if (!error.empty()) return error;
    if (part != PlacePart::Places)
        return "its headers are missing: it must hold the lines \"" + std::string(kCountryHeader) + "\", \"" +
               std::string(kRegionHeader) + "\" and \"" + std::string(kPlaceHeader) + "\"";
    if (!parts.checked) return "its count of places and checksum are missing";
    if (places == parts.promisedPlaces && checksum == parts.promisedChecksum) return "";
    char hex[16], promised[16];
    std::snprintf(hex, sizeof hex, "%08lx", static_cast<unsigned long>(checksum));
    std::snprintf(promised, sizeof promised, "%08lx", static_cast<unsigned long>(parts.promisedChecksum));
    return "it is cut or damaged: it holds " + std::to_string(places) + " places with checksum " + hex +
           ", its header says " + std::to_string(parts.promisedPlaces) + " with " + promised;
}

// "2 lines are damaged (line 7, 9)", naming the first lines of bad.
std::string DamagedLines(size_t bad, const std::vector<size_t>& badLines) {
    std::string text = std::to_string(bad) + (bad > 1 ? " lines are" : " line is") + " damaged (line";
    for (size_t k = 0; k < badLines.size(); ++k) text += (k ? ", " : " ") + std::to_string(badLines[k]);
    return text + (bad > badLines.size() ? ", ...)" : ")");
}

// The shipped place file: comment lines, the count and checksum, the
// countries, the regions, the places. A line that is not what its part
// holds is left out and named; the rest is read. Empty when all is well,
// else what is wrong in one line.
std::string ReadPlaceFile(BoundedFile& file, Gazetteer& g, KeyBuilder& keys) {
    PlacePart part = PlacePart::Start;
    PlaceFileParts parts;
    const size_t ownPlaces = g.places.size();
    // About 4 keys of 9 bytes to a place of 110 bytes; the places' vector is
    // the largest part, and a reserve that is too small would copy it.
    g.places.reserve(ownPlaces + file.Size() / 100);
    keys.Reserve(file.Size() / 28, file.Size() / 3);
    uLong checksum = ::crc32(0, nullptr, 0);
    std::vector<size_t> badLines;
    size_t bad = 0;
    std::string_view line;
    while (file.NextLine(line, kLongestPlaceLine)) {
        if (parts.checked) {
            checksum = ::crc32(checksum, reinterpret_cast<const Bytef*>(line.data()), static_cast<uInt>(line.size()));
            checksum = ::crc32(checksum, reinterpret_cast<const Bytef*>("\n"), 1);
        }
        if (!ReadPlaceFileLine(line, part, parts, g, keys) && ++bad <= kFaultsNamed)
            badLines.push_back(file.LineNumber());
    }
    const size_t places = g.places.size() - ownPlaces;
    std::string fault = PlaceFileFault(file.Error(), part, parts, places, checksum);
    if (bad > 0) fault += (fault.empty() ? "" : "; ") + DamagedLines(bad, badLines);
    if (fault.empty()) return "";
    return fault + "; the " + std::to_string(places) + " places read are found by name";
}

// The user's own places: a batch file whose coordinates are decimal degrees.
// A bad row is left out and named in faults.
void ReadOwnPlaces(std::string text, Gazetteer& g, KeyBuilder& keys, std::vector<std::string>& faults) {
    if (Trimmed(text).empty()) return;
    if (!IsUtf8(text)) text = Cp1252ToUtf8(text);
    BatchReader reader;
    if (!reader.OpenText(text) || reader.NamesPlaces()) {
        faults.push_back(std::string("its first line must be \"") + kBatchHeader + "\" or \"" +
                         kBatchHeaderWithTimeZone + "\"");
        return;
    }
    for (BatchPlace row; reader.Next(row);) {
        const std::string where = "line " + std::to_string(row.line) + ": ";
        Place place;
        if (!row.error.empty()) {
            faults.push_back(where + row.error);
            continue;
        }
        if (!ReadNumber(Trimmed(row.longitude), place.longitude) ||
            !ReadNumber(Trimmed(row.latitude), place.latitude) || place.longitude < 0 || place.latitude < 0) {
            faults.push_back(where + "longitude and latitude must be positive decimal degrees, such as 9.175");
            continue;
        }
        if (row.west) place.longitude = -place.longitude;
        if (row.south) place.latitude = -place.latitude;
        if (!OnEarth(place.latitude, place.longitude)) {
            faults.push_back(where + "the longitude must be at most 180 degrees, the latitude at most 90");
            continue;
        }
        if (Trimmed(row.town).empty()) {
            faults.push_back(where + "the town is empty");
            continue;
        }
        place.name = place.asciiName = Trimmed(row.town);
        place.timeZone = row.timeZone;
        place.zone = Trimmed(row.zone);
        place.own = true;
        if (!place.timeZone.empty() && !CivilTimeZone::Find(place.timeZone).zone)
            faults.push_back(where + "the time zone \"" + ShownText(place.timeZone) + "\" of \"" +
                             ShownText(place.name) + "\" is not in the time-zone database");
        keys.Add(place.name, static_cast<std::uint32_t>(g.places.size()), PlaceKey::kName);
        g.places.push_back(std::move(place));
    }
    if (!reader.Error().empty()) faults.push_back(reader.Error());
}

}  // namespace

GazetteerLoad LoadGazetteer(const std::filesystem::path& placeFile, const std::filesystem::path& ownPlacesFile) {
    GazetteerLoad load;
    Gazetteer& g = load.gazetteer;
    KeyBuilder keys(g);
    const std::string ownName = ownPlacesFile.string();
    BoundedFile own;
    std::string ownText;
    if (!own.Open(ownPlacesFile)) {
        if (own.Error() != "does not exist") load.problems.push_back(ownName + ": " + own.Error() +
                                                                     "; your own places are left out");
    } else if (own.Size() > kMostOwnPlacesBytes || !own.ReadRest(ownText, kMostOwnPlacesBytes)) {
        load.problems.push_back(ownName + ": " +
                                (own.Error().empty() ? "is larger than " +
                                                           std::to_string(kMostOwnPlacesBytes / 1'000'000) + " MB"
                                                     : own.Error()) +
                                "; your own places are left out");
    } else {
        std::vector<std::string> faults;
        ReadOwnPlaces(std::move(ownText), g, keys, faults);
        for (const std::string& fault : faults)
            load.problems.push_back(ownName + ": " + fault +
                                    (fault.rfind("line ", 0) == 0 && fault.find("time zone") == std::string::npos
                                         ? "; the row is left out"
                                         : ""));
    }
    BoundedFile shipped;
    if (!shipped.Open(placeFile)) {
        load.problems.push_back(placeFile.string() + ": " + shipped.Error() +
                                "; only your own places are found by name");
    } else if (const std::string fault = ReadPlaceFile(shipped, g, keys); !fault.empty()) {
        load.problems.push_back(placeFile.string() + ": " + fault);
    }
    keys.Group();
    g.keyText.shrink_to_fit();
    g.likelihood.reserve(g.places.size());
    for (const Place& place : g.places) g.likelihood.push_back(PlaceLikelihood(place));
    return load;
}
