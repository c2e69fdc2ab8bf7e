#include "places/gazetteer.h"

#include "input/batch_file.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <fstream>
#include <optional>
#include <system_error>

namespace {

constexpr const char* kCountryHeader = "code\tcountry";
constexpr const char* kPlaceHeader =
    "name\tascii_name\talternate_names\tcountry\tlatitude\tlongitude\ttime_zone\tpopulation";

// Keys are grouped by their first two characters, each one of 38 codes:
// none (a key of one character), a-z, 0-9 and the blank.
constexpr std::uint32_t kCodes = 38;
constexpr std::uint32_t kGroups = kCodes * kCodes;

std::uint32_t CharacterCode(char c) {
    if (c >= 'a' && c <= 'z') return 1 + static_cast<std::uint32_t>(c - 'a');
    if (c >= '0' && c <= '9') return 27 + static_cast<std::uint32_t>(c - '0');
    return 37;
}

std::uint32_t GroupOf(std::string_view key) {
    return CharacterCode(key[0]) * kCodes + (key.size() > 1 ? CharacterCode(key[1]) : 0);
}

// The whole file, or why it cannot be read.
std::optional<std::string> ReadWhole(const std::filesystem::path& path, std::string& error) {
    std::error_code code;
    if (!std::filesystem::exists(path, code)) {
        error = "does not exist";
        return std::nullopt;
    }
    if (std::filesystem::is_directory(path, code)) {
        error = "is a folder, not a file";
        return std::nullopt;
    }
    std::ifstream file(path, std::ios::binary);
    std::string text;
    if (file) {
        file.seekg(0, std::ios::end);
        text.resize(static_cast<size_t>(std::max<std::streamoff>(file.tellg(), 0)));
        file.seekg(0);
        file.read(text.data(), static_cast<std::streamsize>(text.size()));
    }
    if (!file) {
        error = "cannot be read";
        return std::nullopt;
    }
    return text;
}

// Splits text at sep into at most n fields; the count of fields found.
size_t SplitInto(std::string_view text, char sep, std::string_view* fields, size_t n) {
    size_t count = 0;
    for (;;) {
        const size_t end = text.find(sep);
        if (count == n) return n + 1;  // more fields than wanted
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

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
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

// Gathers the places' keys, then groups them.
class KeyBuilder {
public:
    explicit KeyBuilder(Gazetteer& gazetteer) : g_(gazetteer) {}

    void Reserve(size_t keys, size_t text) {
        loose_.reserve(keys);
        g_.keyText.reserve(text);
    }

    // Both foldings of a name, each once per place.
    void Add(std::string_view name, std::uint32_t place) {
        Put(FoldForSearch(name, false), place);
        if (HasUmlaut(name)) Put(FoldForSearch(name, true), place);
    }

    void Group() {
        std::vector<std::uint32_t> start(kGroups + 1, 0);
        for (const PlaceKey& key : loose_) ++start[GroupOf(Text(key)) + 1];
        for (std::uint32_t g = 0; g < kGroups; ++g) start[g + 1] += start[g];
        g_.keys.resize(loose_.size());
        std::vector<std::uint32_t> next(start.begin(), start.end() - 1);
        for (const PlaceKey& key : loose_) g_.keys[next[GroupOf(Text(key))]++] = key;
        g_.groupStart = std::move(start);
        loose_ = {};
    }

    void Reset() {
        loose_.clear();
        place_ = UINT32_MAX;
        first_ = 0;
    }

private:
    std::string_view Text(const PlaceKey& key) const {
        return std::string_view(g_.keyText).substr(key.offset, key.length);
    }

    void Put(const std::string& folded, std::uint32_t place) {
        if (folded.empty()) return;
        if (place != place_) place_ = place, first_ = loose_.size();
        for (size_t k = first_; k < loose_.size(); ++k)
            if (Text(loose_[k]) == folded) return;
        loose_.push_back({static_cast<std::uint32_t>(g_.keyText.size()),
                          static_cast<std::uint32_t>(folded.size()), place});
        g_.keyText += folded;
    }

    Gazetteer& g_;
    std::vector<PlaceKey> loose_;
    std::uint32_t place_ = UINT32_MAX;
    size_t first_ = 0;
};

struct FileFault {
    std::string text;  // empty when the file was read whole
};

using Countries = std::vector<std::pair<std::string, std::string>>;  // code, name; sorted

// One line of the place file's places into g and keys; why not, or empty.
std::string ReadPlaceLine(std::string_view line, const Countries& countries, Gazetteer& g, KeyBuilder& keys) {
    std::string_view f[8];
    Place place;
    if (SplitInto(line, '\t', f, 8) != 8) return "a place must have 8 fields";
    if (!ReadNumber(f[4], place.latitude) || !ReadNumber(f[5], place.longitude) ||
        !OnEarth(place.latitude, place.longitude) || !ReadNumber(f[7], place.population) ||
        f[0].empty() || f[6].empty())
        return "the place's name, coordinates, time zone or population is wrong";
    place.name = f[0];
    place.asciiName = f[1];
    place.country = f[3];
    place.timeZone = f[6];
    const auto country = std::lower_bound(countries.begin(), countries.end(),
                                          std::pair<std::string, std::string>(place.country, ""));
    if (country != countries.end() && country->first == place.country) place.countryName = country->second;
    const auto index = static_cast<std::uint32_t>(g.places.size());
    keys.Add(f[0], index);
    if (f[1] != f[0]) keys.Add(f[1], index);
    for (std::string_view alternates = f[2]; !alternates.empty();) {
        const size_t comma = alternates.find(',');
        keys.Add(alternates.substr(0, comma), index);
        alternates.remove_prefix(comma == std::string_view::npos ? alternates.size() : comma + 1);
    }
    g.places.push_back(std::move(place));
    return "";
}

// The shipped place file: comment lines, the countries, the places.
FileFault ReadPlaceFile(const std::string& text, Gazetteer& g, KeyBuilder& keys) {
    Countries countries;
    enum class Part { Start, Countries, Places } part = Part::Start;
    size_t lineNumber = 0;
    const size_t ownPlaces = g.places.size();
    const size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
    g.places.reserve(ownPlaces + lines);
    // About four keys to a place and half a byte of key to a byte of file.
    keys.Reserve(4 * lines, text.size() / 2);
    std::string_view rest = text;
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        ++lineNumber;
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (part == Part::Start) {
            if (line.empty() || line[0] == '#') continue;
            if (line != kCountryHeader) return {where + "the country list's header is missing"};
            part = Part::Countries;
        } else if (part == Part::Countries && line == kPlaceHeader) {
            std::sort(countries.begin(), countries.end());
            part = Part::Places;
        } else if (part == Part::Countries) {
            std::string_view f[2];
            if (SplitInto(line, '\t', f, 2) != 2 || f[0].size() != 2)
                return {where + "a country must be a code and a name"};
            countries.emplace_back(f[0], f[1]);
        } else if (const std::string fault = ReadPlaceLine(line, countries, g, keys); !fault.empty()) {
            return {where + fault};
        }
    }
    if (part != Part::Places || g.places.size() == ownPlaces) return {"it holds no places"};
    return {};
}

// The user's own places: a batch file whose coordinates are decimal degrees.
FileFault ReadOwnPlaces(const std::string& text, Gazetteer& g, KeyBuilder& keys) {
    BatchReader reader;
    if (!reader.OpenText(text)) return {reader.Error()};
    if (reader.NamesPlaces()) return {std::string("its first line must be ") + kBatchHeaderWithTimeZone};
    std::vector<Place> places;
    for (BatchPlace row; reader.Next(row);) {
        const std::string where = "line " + std::to_string(row.line) + ": ";
        if (!row.error.empty()) return {where + row.error};
        Place place;
        if (!ReadNumber(Trimmed(row.longitude), place.longitude) ||
            !ReadNumber(Trimmed(row.latitude), place.latitude) || place.longitude < 0 || place.latitude < 0)
            return {where + "longitude and latitude must be positive decimal degrees, such as 9.175"};
        if (row.west) place.longitude = -place.longitude;
        if (row.south) place.latitude = -place.latitude;
        if (!OnEarth(place.latitude, place.longitude))
            return {where + "the longitude must be at most 180 degrees, the latitude at most 90"};
        if (Trimmed(row.town).empty()) return {where + "the town is empty"};
        place.name = place.asciiName = Trimmed(row.town);
        place.timeZone = row.timeZone;
        place.zone = Trimmed(row.zone);
        place.own = true;
        places.push_back(std::move(place));
    }
    if (!reader.Error().empty()) return {reader.Error()};
    for (Place& place : places) {
        keys.Add(place.name, static_cast<std::uint32_t>(g.places.size()));
        g.places.push_back(std::move(place));
    }
    return {};
}

}  // namespace

GazetteerLoad LoadGazetteer(const std::filesystem::path& placeFile, const std::filesystem::path& ownPlacesFile) {
    GazetteerLoad load;
    Gazetteer& g = load.gazetteer;
    KeyBuilder keys(g);
    std::string error;
    if (std::optional<std::string> own = ReadWhole(ownPlacesFile, error)) {
        if (FileFault fault = ReadOwnPlaces(*own, g, keys); !fault.text.empty()) {
            load.problems.push_back(ownPlacesFile.string() + ": " + fault.text + "; your own places are left out");
            g = Gazetteer{};
            keys.Reset();
        }
    } else if (error != "does not exist") {
        load.problems.push_back(ownPlacesFile.string() + ": " + error + "; your own places are left out");
    }
    if (std::optional<std::string> shipped = ReadWhole(placeFile, error)) {
        const size_t own = g.places.size();
        if (FileFault fault = ReadPlaceFile(*shipped, g, keys); !fault.text.empty()) {
            load.problems.push_back(placeFile.string() + ": " + fault.text + "; places are not found by name");
            // Only the own places stay.
            g.places.resize(own);
            g.keyText.clear();
            keys.Reset();
            for (std::uint32_t p = 0; p < g.places.size(); ++p) keys.Add(g.places[p].name, p);
        }
    } else {
        load.problems.push_back(placeFile.string() + ": " + error + "; places are not found by name");
    }
    keys.Group();
    g.keyText.shrink_to_fit();
    return load;
}

namespace {

// Whether a place lies in the country a query names, by code or by the
// beginning of its name, both folded.
bool InCountry(const Place& place, const std::string& foldedCountry, std::string_view typed) {
    if (typed.size() == 2 && place.country.size() == 2 &&
        std::toupper(static_cast<unsigned char>(typed[0])) == place.country[0] &&
        std::toupper(static_cast<unsigned char>(typed[1])) == place.country[1])
        return true;
    return !place.countryName.empty() && FoldForSearch(place.countryName).rfind(foldedCountry, 0) == 0;
}

}  // namespace

PlaceMatches FindPlaces(const Gazetteer& gazetteer, std::string_view query, std::size_t limit) {
    PlaceMatches matches;
    std::string_view country;
    if (const size_t comma = query.rfind(','); comma != std::string_view::npos) {
        country = Trimmed(query.substr(comma + 1));
        query = query.substr(0, comma);
    }
    const std::string wanted = FoldForSearch(query);
    const std::string foldedCountry = FoldForSearch(country);
    if (wanted.empty() || gazetteer.groupStart.size() != kGroups + 1) return matches;

    // 1 for a place whose key begins with the query, 2 for one whose key is the query.
    std::vector<std::uint8_t> found(gazetteer.places.size(), 0);
    std::vector<std::uint32_t> places;
    const std::uint32_t first = CharacterCode(wanted[0]) * kCodes;
    const std::uint32_t from = wanted.size() > 1 ? first + CharacterCode(wanted[1]) : first;
    const std::uint32_t to = wanted.size() > 1 ? from + 1 : first + kCodes;
    const char* text = gazetteer.keyText.data();
    for (std::uint32_t k = gazetteer.groupStart[from]; k < gazetteer.groupStart[to]; ++k) {
        const PlaceKey& key = gazetteer.keys[k];
        if (key.length < wanted.size() || std::memcmp(text + key.offset, wanted.data(), wanted.size()) != 0)
            continue;
        const std::uint8_t grade = key.length == wanted.size() ? 2 : 1;
        if (found[key.place] == 0) places.push_back(key.place);
        found[key.place] = std::max(found[key.place], grade);
    }
    if (!country.empty()) {
        std::erase_if(places, [&](std::uint32_t p) {
            return !InCountry(gazetteer.places[p], foldedCountry, country);
        });
    }
    matches.total = places.size();
    const auto better = [&](std::uint32_t a, std::uint32_t b) {
        const Place& x = gazetteer.places[a];
        const Place& y = gazetteer.places[b];
        if (x.own != y.own) return x.own;
        if (found[a] != found[b]) return found[a] > found[b];
        if (x.population != y.population) return x.population > y.population;
        return a < b;
    };
    const size_t shown = std::min(limit, places.size());
    std::partial_sort(places.begin(), places.begin() + static_cast<std::ptrdiff_t>(shown), places.end(), better);
    for (size_t i = 0; i < shown; ++i) matches.best.push_back(&gazetteer.places[places[i]]);
    return matches;
}

const Place* FindPlaceById(const Gazetteer& gazetteer, std::int64_t id) {
    if (id <= 0) return nullptr;
    for (const Place& place : gazetteer.places)
        if (place.geonameId == id) return &place;
    return nullptr;
}
