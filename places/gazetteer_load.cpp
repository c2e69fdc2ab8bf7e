// Reading the place file and the own places into a gazetteer.
#include "places/gazetteer.h"

#include "calc/civil_time_zone.h"
#include "input/batch_file.h"
#include "places/bounded_file.h"
#include "places/place_file.h"
#include "places/place_index_file.h"
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

// What the place file holds besides its places, while they are read.
struct PlaceFileParts {
    std::unordered_map<std::string, std::uint32_t> regionOf;  // "US.IL" -> index into regions
    std::size_t promisedPlaces = 0;
    std::uint32_t promisedChecksum = 0;
    bool checked = false;  // the file has its count and checksum line
};

std::uint16_t CountryIndex(const std::vector<PlaceCountry>& countries, std::string_view code) {
    const auto at = std::lower_bound(countries.begin(), countries.end(), code,
                                     [](const PlaceCountry& c, std::string_view k) { return c.code < k; });
    if (at == countries.end() || at->code != code) return PlaceRecord::kNone;
    return static_cast<std::uint16_t>(at - countries.begin());
}

// Splits a list at its commas.
template <typename Each>
void ForEachListed(std::string_view list, Each each) {
    while (!list.empty()) {
        const size_t comma = list.find(',');
        each(list.substr(0, comma));
        list.remove_prefix(comma == std::string_view::npos ? list.size() : comma + 1);
    }
}

// One place line into places; false when it is not a place.
bool ReadPlaceLine(std::string_view line, const PlaceFileParts& parts, ShippedPlaces& shipped,
                   PlaceTableBuilder& places) {
    std::string_view f[kPlaceFields];
    if (SplitInto(line, '\t', f, kPlaceFields) != kPlaceFields) return false;
    PlaceFields place;
    if (!ReadNumber(f[0], place.geonameId) || place.geonameId == 0 || !ReadNumber(f[7], place.latitude) ||
        !ReadNumber(f[8], place.longitude) || !OnEarth(place.latitude, place.longitude) ||
        !ReadNumber(f[10], place.population) || f[1].empty() || f[9].empty())
        return false;
    place.name = f[1];
    place.asciiName = f[2];
    place.feature = f[6];
    place.timeZone = f[9];
    place.country = CountryIndex(shipped.countries, f[4]);
    if (!f[5].empty()) {
        const auto region = parts.regionOf.find(std::string(f[4]) + "." + std::string(f[5]));
        if (region != parts.regionOf.end() && region->second < PlaceRecord::kNone)
            place.region = static_cast<std::uint16_t>(region->second);
    }
    if (!places.AddPlace(place)) return false;
    places.AddName(f[1], PlaceKey::kName);
    if (f[2] != f[1]) places.AddName(f[2], PlaceKey::kName);
    ForEachListed(f[3], [&](std::string_view name) { places.AddName(name, PlaceKey::kAlternate); });
    return true;
}

bool ReadCountryLine(std::string_view line, std::vector<PlaceCountry>& countries) {
    std::string_view f[3];
    if (SplitInto(line, '\t', f, 3) != 3 || f[0].size() != 2) return false;
    PlaceCountry country{std::string(f[0]), std::string(f[1]), {FoldForSearch(f[1])}};
    ForEachListed(f[2], [&](std::string_view name) { country.folded.push_back(FoldForSearch(name)); });
    countries.push_back(std::move(country));
    return true;
}

bool ReadRegionLine(std::string_view line, std::vector<PlaceRegion>& regions, PlaceFileParts& parts) {
    std::string_view f[3];
    if (SplitInto(line, '\t', f, 3) != 3 || f[0].size() < 4 || f[0][2] != '.') return false;
    parts.regionOf.emplace(std::string(f[0]), static_cast<std::uint32_t>(regions.size()));
    regions.push_back({std::string(f[0].substr(0, 2)), std::string(f[1]), std::string(f[2]), FoldForSearch(f[1])});
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
bool ReadPlaceFileLine(std::string_view line, PlacePart& part, PlaceFileParts& parts, ShippedPlaces& shipped,
                       PlaceTableBuilder& places) {
    switch (part) {
    case PlacePart::Start:
        if (line.rfind(kCheckLine, 0) == 0) return ReadCheckLine(line, parts);
        if (line == kCountryHeader) {
            part = PlacePart::Countries;
            return true;
        }
        return line.empty() || line[0] == '#';
    case PlacePart::Countries:
        if (line != kRegionHeader) return ReadCountryLine(line, shipped.countries);
        std::sort(shipped.countries.begin(), shipped.countries.end(),
                  [](const PlaceCountry& a, const PlaceCountry& b) { return a.code < b.code; });
        part = PlacePart::Regions;
        return true;
    case PlacePart::Regions:
        if (line != kPlaceHeader) return ReadRegionLine(line, shipped.regions, parts);
        part = PlacePart::Places;
        return true;
    case PlacePart::Places:
        return ReadPlaceLine(line, parts, shipped, places);
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
// holds is left out and named; the rest is read.
void ReadPlaceFile(BoundedFile& file, ShippedPlaces& shipped) {
    PlacePart part = PlacePart::Start;
    PlaceFileParts parts;
    PlaceTableBuilder places;
    places.Reserve(file.Size() / 100, file.Size());
    uLong checksum = ::crc32(0, nullptr, 0);
    std::vector<size_t> badLines;
    size_t bad = 0;
    std::string_view line;
    while (file.NextLine(line, kLongestPlaceLine)) {
        if (parts.checked) {
            checksum = ::crc32(checksum, reinterpret_cast<const Bytef*>(line.data()), static_cast<uInt>(line.size()));
            checksum = ::crc32(checksum, reinterpret_cast<const Bytef*>("\n"), 1);
        }
        if (!ReadPlaceFileLine(line, part, parts, shipped, places) && ++bad <= kFaultsNamed)
            badLines.push_back(file.LineNumber());
    }
    const size_t count = places.Count();
    shipped.storage = places.Finish();
    shipped.stamp = {file.Size(), parts.promisedPlaces, parts.promisedChecksum};
    shipped.fault = PlaceFileFault(file.Error(), part, parts, count, checksum);
    if (bad > 0) shipped.fault += (shipped.fault.empty() ? "" : "; ") + DamagedLines(bad, badLines);
    if (!shipped.fault.empty())
        shipped.fault += "; the " + std::to_string(count) + " places read are found by name";
}

// The count and checksum the place file's header promises, with its size;
// false when its first lines hold none or the bytes after the check line
// are not what it promises: a file cut or changed since its index was made
// is then read line by line, which says what is wrong.
bool ReadStamp(BoundedFile& file, PlaceFileStamp& stamp) {
    PlaceFileParts parts;
    std::string_view line;
    while (!parts.checked && file.NextLine(line, kLongestPlaceLine) && !line.empty() && line[0] == '#')
        if (line.rfind(kCheckLine, 0) == 0) ReadCheckLine(line, parts);
    if (!parts.checked) return false;
    uLong checksum = ::crc32(0, nullptr, 0);
    const bool read = file.ReadPieces([&](std::string_view piece) {
        checksum = ::crc32(checksum, reinterpret_cast<const Bytef*>(piece.data()), static_cast<uInt>(piece.size()));
    });
    stamp = {file.Size(), parts.promisedPlaces, parts.promisedChecksum};
    return read && checksum == parts.promisedChecksum;
}

// The countries and regions back from the index's lines; false when a
// line is damaged.
bool ReadTableLines(std::string_view lines, std::vector<PlaceCountry>& countries, std::vector<PlaceRegion>& regions) {
    while (!lines.empty()) {
        const size_t end = lines.find('\n');
        if (end == std::string_view::npos) return false;
        const std::string_view line = lines.substr(0, end);
        lines.remove_prefix(end + 1);
        std::string_view f[5];
        const size_t n = SplitInto(line, '\t', f, 5);
        if (n == 4 && f[0] == "C") {
            PlaceCountry country{std::string(f[1]), std::string(f[2]), {}};
            ForEachListed(f[3], [&](std::string_view name) { country.folded.emplace_back(name); });
            if (country.folded.empty()) return false;
            countries.push_back(std::move(country));
        } else if (n == 5 && f[0] == "R") {
            regions.push_back({std::string(f[1]), std::string(f[2]), std::string(f[3]), std::string(f[4])});
        } else {
            return false;
        }
    }
    return std::is_sorted(countries.begin(), countries.end(),
                          [](const PlaceCountry& a, const PlaceCountry& b) { return a.code < b.code; });
}

// Whether every record's country and region is one of the tables'.
bool RecordsFit(const PlaceTable& t, std::size_t countries, std::size_t regions) {
    return std::all_of(t.records.begin(), t.records.end(), [&](const PlaceRecord& r) {
        return (r.country == PlaceRecord::kNone || r.country < countries) &&
               (r.region == PlaceRecord::kNone || r.region < regions);
    });
}

// The shipped places from the index made of the place file, if it is there
// and sound.
bool MapShippedPlaces(const std::filesystem::path& placeFile, BoundedFile& file, Gazetteer& g) {
    PlaceFileStamp stamp;
    if (!ReadStamp(file, stamp)) return false;
    MappedPlaceIndex index = MapPlaceIndex(PlaceIndexPath(placeFile), stamp);
    if (!index.storage) return false;
    std::vector<PlaceCountry> countries;
    std::vector<PlaceRegion> regions;
    if (!ReadTableLines(index.tableLines, countries, regions) ||
        !RecordsFit(index.table, countries.size(), regions.size()))
        return false;
    g.shipped = index.table;
    g.countries = std::move(countries);
    g.regions = std::move(regions);
    g.storage.push_back(std::move(index.storage));
    return true;
}

// The user's own places: a batch file whose coordinates are decimal degrees.
// A bad row is left out and named in faults.
void ReadOwnPlaces(std::string text, PlaceTableBuilder& places, std::vector<std::string>& faults) {
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
        PlaceFields place;
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
        place.name = place.asciiName = Trimmed(row.town);
        if (place.name.empty()) {
            faults.push_back(where + "the town is empty");
            continue;
        }
        place.timeZone = row.timeZone;
        place.zone = Trimmed(row.zone);
        if (!places.AddPlace(place)) {
            faults.push_back(where + "a field is longer than 65,535 bytes");
            continue;
        }
        if (!row.timeZone.empty() && !CivilTimeZone::Find(row.timeZone).zone)
            faults.push_back(where + "the time zone \"" + ShownText(row.timeZone) + "\" of \"" +
                             ShownText(place.name) + "\" is not in the time-zone database");
        places.AddName(place.name, PlaceKey::kName);
    }
    if (!reader.Error().empty()) faults.push_back(reader.Error());
}

// The own places file read into g.own; what is wrong with it into problems.
void LoadOwnPlaces(const std::filesystem::path& ownPlacesFile, Gazetteer& g, std::vector<std::string>& problems) {
    const std::string ownName = ownPlacesFile.string();
    BoundedFile own;
    std::string ownText;
    PlaceTableBuilder places;
    if (!own.Open(ownPlacesFile)) {
        if (own.Error() != "does not exist")
            problems.push_back(ownName + ": " + own.Error() + "; your own places are left out");
    } else if (own.Size() > kMostOwnPlacesBytes || !own.ReadRest(ownText, kMostOwnPlacesBytes)) {
        problems.push_back(ownName + ": " +
                           (own.Error().empty()
                                ? "is larger than " + std::to_string(kMostOwnPlacesBytes / 1'000'000) + " MB"
                                : own.Error()) +
                           "; your own places are left out");
    } else {
        std::vector<std::string> faults;
        ReadOwnPlaces(std::move(ownText), places, faults);
        for (const std::string& fault : faults)
            problems.push_back(ownName + ": " + fault +
                               (fault.rfind("line ", 0) == 0 && fault.find("time zone") == std::string::npos
                                    ? "; the row is left out"
                                    : ""));
    }
    if (places.Count() == 0) return;
    g.storage.push_back(places.Finish());
    g.own = g.storage.back()->Table();
}

}  // namespace

ShippedPlaces ReadShippedPlaces(const std::filesystem::path& placeFile) {
    ShippedPlaces shipped;
    BoundedFile file;
    if (!file.Open(placeFile)) shipped.fault = file.Error();
    else ReadPlaceFile(file, shipped);
    return shipped;
}

std::string TableLines(const std::vector<PlaceCountry>& countries, const std::vector<PlaceRegion>& regions) {
    std::string lines;
    for (const PlaceCountry& c : countries) {
        lines += "C\t" + c.code + "\t" + c.name + "\t";
        for (size_t k = 0; k < c.folded.size(); ++k) lines += (k ? "," : "") + c.folded[k];
        lines += "\n";
    }
    for (const PlaceRegion& r : regions)
        lines += "R\t" + r.country + "\t" + r.name + "\t" + r.abbreviation + "\t" + r.folded + "\n";
    return lines;
}

GazetteerLoad LoadGazetteer(const std::filesystem::path& placeFile, const std::filesystem::path& ownPlacesFile) {
    GazetteerLoad load;
    Gazetteer& g = load.gazetteer;
    LoadOwnPlaces(ownPlacesFile, g, load.problems);
    BoundedFile shipped;
    if (!shipped.Open(placeFile)) {
        load.problems.push_back(placeFile.string() + ": " + shipped.Error() +
                                "; only your own places are found by name");
        return load;
    }
    if (MapShippedPlaces(placeFile, shipped, g)) return load;
    ShippedPlaces read = ReadShippedPlaces(placeFile);
    if (!read.fault.empty()) load.problems.push_back(placeFile.string() + ": " + read.fault);
    if (!read.storage) return load;
    g.countries = std::move(read.countries);
    g.regions = std::move(read.regions);
    g.storage.push_back(std::move(read.storage));
    g.shipped = g.storage.back()->Table();
    return load;
}
