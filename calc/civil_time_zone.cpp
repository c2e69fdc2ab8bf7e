#include "calc/civil_time_zone.h"

#include "text/shown_text.h"

#include <absl/time/civil_time.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Periods looked at on each side before giving up on finding standard time.
constexpr int kPeriodsSearched = 8;

// The name as an error shows it, on one line, every byte beyond ASCII
// escaped: zone names are ASCII.
std::string ShownName(const std::string& name) { return ShownText(name, kShownTextLength, ShownBytes::Ascii); }

// Whether name has the form of a zone name: parts joined by '/', each made
// of the characters the database uses in names and none starting with a
// point, so that no part climbs out of the folder or hides a file.
bool IsZoneName(const std::string& name) {
    if (name.empty() || name.front() == '/' || name.back() == '/') return false;
    bool partStart = true;
    for (const char c : name) {
        if (c == '/') {
            if (partStart) return false;  // an empty part
            partStart = true;
            continue;
        }
        const bool allowed = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                             c == '_' || c == '-' || c == '+' || c == '.';
        if (!allowed || (partStart && c == '.')) return false;
        partStart = false;
    }
    return true;
}

// The file of name in folder, followed through its links, or nothing when
// it is missing or lies outside the folder.
std::optional<fs::path> ZoneFile(const std::string& name, const fs::path& folder) {
    std::error_code error;
    const fs::path base = fs::canonical(folder, error);
    if (error) return std::nullopt;
    const fs::path file = fs::canonical(base / name, error);
    if (error || !fs::is_regular_file(file, error)) return std::nullopt;
    const fs::path inside = file.lexically_relative(base);
    if (inside.empty() || *inside.begin() == "..") return std::nullopt;
    return file;
}

// The largest zone file taken. The database's largest files hold a few
// kilobytes; a megabyte leaves room for any real history and keeps a
// damaged or hostile file from costing more memory than that.
constexpr std::uintmax_t kLargestZoneFile = 1 << 20;

// The fixed part of a TZif header: "TZif", a version byte, 15 reserved
// bytes, then six 32-bit big-endian counts.
constexpr std::size_t kTzifHeaderSize = 44;

struct TzifCounts {
    unsigned char version = 0;  // 0 for version 1, else '2', '3', ...
    uint64_t isUt = 0, isStd = 0, leaps = 0, times = 0, types = 0, chars = 0;
};

uint64_t BigEndian32(const unsigned char* bytes) {
    return uint64_t{bytes[0]} << 24 | uint64_t{bytes[1]} << 16 | uint64_t{bytes[2]} << 8 | uint64_t{bytes[3]};
}

// The counts of the header at offset, or nothing when it is no TZif header.
std::optional<TzifCounts> TzifHeaderAt(std::ifstream& in, uint64_t offset) {
    std::array<unsigned char, kTzifHeaderSize> header{};
    in.seekg(static_cast<std::streamoff>(offset));
    if (!in.read(reinterpret_cast<char*>(header.data()), header.size())) return std::nullopt;
    if (header[0] != 'T' || header[1] != 'Z' || header[2] != 'i' || header[3] != 'f') return std::nullopt;
    const unsigned char* c = header.data() + 20;
    return TzifCounts{header[4], BigEndian32(c), BigEndian32(c + 4), BigEndian32(c + 8), BigEndian32(c + 12),
                      BigEndian32(c + 16), BigEndian32(c + 20)};
}

// Bytes of the data block after a header, with timeSize bytes a time (4 in
// version 1's block, 8 in the later one).
uint64_t TzifBlockSize(const TzifCounts& n, uint64_t timeSize) {
    // Each count is below 2^32, so the sum stays far below 2^64.
    return n.times * (timeSize + 1) + n.types * 6 + n.chars + n.leaps * (timeSize + 4) + n.isStd + n.isUt;
}

// Whether the counts of the block the library reads keep the format's own
// rules: a type and an abbreviation at least, indicators none or one a type.
bool TzifCountsAreSound(const TzifCounts& n) {
    return n.types != 0 && n.chars != 0 && (n.isUt == 0 || n.isUt == n.types) &&
           (n.isStd == 0 || n.isStd == n.types);
}

// Whether file is small enough and its header's counts fit its size, so
// that reading it costs what its size does. Version 1 holds one block;
// later versions a second header and block, then the rule's footer.
bool ZoneFileIsSound(const fs::path& file) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(file, error);
    if (error || size > kLargestZoneFile) return false;
    std::ifstream in(file, std::ios::binary);
    const std::optional<TzifCounts> first = TzifHeaderAt(in, 0);
    if (!first) return false;
    const uint64_t second = kTzifHeaderSize + TzifBlockSize(*first, 4);
    if (second > size) return false;
    if (first->version == 0) return TzifCountsAreSound(*first);
    const std::optional<TzifCounts> later = TzifHeaderAt(in, second);
    return later && TzifCountsAreSound(*later) && second + kTzifHeaderSize + TzifBlockSize(*later, 8) <= size;
}

// The first instant of a civil date; for a date the clock jumped into,
// the jump.
absl::Time DateStart(const absl::TimeZone& zone, absl::CivilDay date) {
    const absl::TimeZone::TimeInfo start = zone.At(absl::CivilSecond(date));
    return start.kind == absl::TimeZone::TimeInfo::SKIPPED ? start.trans : start.pre;
}

absl::Time Instant(int64_t utc) { return absl::FromUnixSeconds(utc); }

int32_t Seconds(int offset) { return static_cast<int32_t>(offset); }

}  // namespace

fs::path CivilTimeZone::SystemFolder() {
    const char* folder = std::getenv("TZDIR");
    return folder && *folder ? fs::path(folder) : fs::path("/usr/share/zoneinfo");
}

CivilTimeZone::Lookup CivilTimeZone::Find(const std::string& name) { return Find(name, SystemFolder()); }

CivilTimeZone::Lookup CivilTimeZone::Find(const std::string& name, const fs::path& folder) {
    std::error_code error;
    if (!fs::is_directory(folder, error))
        return {std::nullopt, "the time-zone database cannot be read: no folder " + folder.string()};
    const std::string unknown = "no time zone \"" + ShownName(name) +
                                "\" in the time-zone database (an area and a location, such as Europe/Oslo)";
    if (!IsZoneName(name)) return {std::nullopt, unknown};
    const std::optional<fs::path> file = ZoneFile(name, folder);
    absl::TimeZone zone;
    // The library is handed the full path, so that it never looks for the
    // name anywhere but in this folder.
    if (!file || !ZoneFileIsSound(*file) || !absl::LoadTimeZone(file->string(), &zone))
        return {std::nullopt, unknown};
    return {CivilTimeZone(zone), ""};
}

int32_t CivilTimeZone::StandardOffset(int year, int month, int day) const {
    return StandardOffsetAt(zone_.At(absl::CivilSecond(year, month, day, 12, 0, 0)).pre);
}

std::vector<int32_t> CivilTimeZone::StandardOffsetsOfDate(int year, int month, int day) const {
    const absl::CivilDay date(year, month, day);
    if (DateStart(zone_, date + 1) <= DateStart(zone_, date)) return {};
    const absl::TimeZone::TimeInfo noon = zone_.At(absl::CivilSecond(year, month, day, 12, 0, 0));
    std::vector<int32_t> offsets{StandardOffsetAt(noon.pre)};
    // A fold of an hour or two is summer time ending; a fold of half a day
    // or more lives the date again.
    if (noon.kind == absl::TimeZone::TimeInfo::REPEATED && noon.post - noon.pre >= absl::Hours(12))
        offsets.push_back(StandardOffsetAt(noon.post));
    return offsets;
}

int32_t CivilTimeZone::StandardOffsetAt(absl::Time noon) const {
    const absl::TimeZone::CivilInfo here = zone_.At(noon);
    // The database marks a period as summer time or not, without its size:
    // the standard offset is that of the nearest unmarked period, looking
    // back first, then ahead. A change's civil times are given on the
    // clock of the period the search comes from.
    if (!here.is_dst) return Seconds(here.offset);
    absl::Time before = noon, after = noon;
    int beforeOffset = here.offset, afterOffset = here.offset;
    absl::TimeZone::CivilTransition change;
    for (int i = 0; i < kPeriodsSearched; ++i) {
        if (zone_.PrevTransition(before, &change)) {
            before = absl::FromCivil(change.to, absl::FixedTimeZone(beforeOffset)) - absl::Seconds(1);
            const absl::TimeZone::CivilInfo period = zone_.At(before);
            if (!period.is_dst) return Seconds(period.offset);
            beforeOffset = period.offset;
        }
        if (zone_.NextTransition(after, &change)) {
            after = absl::FromCivil(change.from, absl::FixedTimeZone(afterOffset));
            const absl::TimeZone::CivilInfo period = zone_.At(after);
            if (!period.is_dst) return Seconds(period.offset);
            afterOffset = period.offset;
        }
    }
    return Seconds(here.offset);
}

int32_t CivilTimeZone::OffsetAt(int64_t utc) const { return Seconds(zone_.At(Instant(utc)).offset); }

bool CivilTimeZone::DaylightAt(int64_t utc) const { return zone_.At(Instant(utc)).is_dst; }
