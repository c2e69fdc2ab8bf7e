#include "places/place_index_file.h"

#include "places/place_keys.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kMagic[8] = {'K', 'L', 'M', 'P', 'L', 'I', 'X', '1'};
constexpr std::uint32_t kByteOrder = 0x01020304;
enum Section { kRecords, kText, kKeys, kKeyText, kGroupStart, kLikelihood, kById, kTableLines, kSections };

struct Header {
    char magic[8];
    std::uint32_t byteOrder;
    std::uint32_t sections;
    std::uint64_t placeFileSize, placeFilePlaces;
    std::uint32_t placeFileChecksum, reserved;
    struct {
        std::uint64_t offset, size;
    } section[kSections];
};

constexpr std::uint64_t kAlign = 8;

std::uint64_t Aligned(std::uint64_t n) { return (n + kAlign - 1) / kAlign * kAlign; }

template <typename T>
std::string_view Bytes(const std::vector<T>& v) {
    return {reinterpret_cast<const char*>(v.data()), v.size() * sizeof(T)};
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t wrote = ::write(fd, data, size);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        data += wrote;
        size -= static_cast<std::size_t>(wrote);
    }
    return true;
}

// A section's elements, or an empty span when its size is no whole count.
template <typename T>
std::span<const T> Elements(const char* base, const Header& h, Section s) {
    if (h.section[s].size % sizeof(T) != 0) return {};
    return {reinterpret_cast<const T*>(base + h.section[s].offset), h.section[s].size / sizeof(T)};
}

bool SectionsFit(const Header& h, std::uint64_t fileSize) {
    for (const auto& s : h.section)
        if (s.offset % kAlign != 0 || s.offset < sizeof(Header) || s.offset > fileSize || s.size > fileSize - s.offset)
            return false;
    return true;
}

// Whether every offset of the table lies within it, so that no search can
// read beyond the mapping whatever the file holds.
bool Sound(const PlaceTable& t) {
    if (t.groupStart.size() != kKeyGroups + 1 || t.groupStart.front() != 0 || t.groupStart.back() != t.keys.size() ||
        t.likelihood.size() != t.records.size())
        return false;
    for (std::size_t g = 0; g < kKeyGroups; ++g)
        if (t.groupStart[g] > t.groupStart[g + 1]) return false;
    for (const PlaceKey& k : t.keys)
        if (k.place >= t.records.size() || k.offset > t.keyText.size() || k.length > t.keyText.size() - k.offset)
            return false;
    const std::uint64_t text = t.text.size();
    for (const PlaceRecord& r : t.records) {
        if (std::uint64_t{r.names} + r.nameLength + r.asciiLength + r.zoneLength > text ||
            std::uint64_t{r.timeZone} + r.timeZoneLength > text || std::uint64_t{r.feature} + r.featureLength > text)
            return false;
    }
    for (const float l : t.likelihood)
        if (!std::isfinite(l)) return false;
    for (const std::uint32_t k : t.byId)
        if (k >= t.records.size()) return false;
    return true;
}

}  // namespace

std::filesystem::path PlaceIndexPath(const std::filesystem::path& placeFile) {
    std::filesystem::path index = placeFile;
    return index.replace_extension(".idx");
}

std::string WritePlaceIndex(const std::filesystem::path& path, const PlaceStorage& s, std::string_view tableLines,
                            const PlaceFileStamp& stamp) {
    const std::string_view parts[kSections] = {Bytes(s.records),    s.text,          Bytes(s.keys), s.keyText,
                                               Bytes(s.groupStart), Bytes(s.likelihood), Bytes(s.byId), tableLines};
    Header h{};
    std::memcpy(h.magic, kMagic, sizeof kMagic);
    h.byteOrder = kByteOrder;
    h.sections = kSections;
    h.placeFileSize = stamp.size;
    h.placeFilePlaces = stamp.places;
    h.placeFileChecksum = stamp.checksum;
    std::uint64_t at = Aligned(sizeof h);
    for (int k = 0; k < kSections; ++k) {
        h.section[k] = {at, parts[k].size()};
        at = Aligned(at + parts[k].size());
    }
    const std::filesystem::path temporary = path.string() + ".new";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return temporary.string() + ": " + std::strerror(errno);
    static const char zeros[kAlign] = {};
    bool written = WriteAll(fd, reinterpret_cast<const char*>(&h), sizeof h) &&
                   WriteAll(fd, zeros, Aligned(sizeof h) - sizeof h);
    for (int k = 0; k < kSections && written; ++k)
        written = WriteAll(fd, parts[k].data(), parts[k].size()) &&
                  WriteAll(fd, zeros, Aligned(parts[k].size()) - parts[k].size());
    written = ::fsync(fd) == 0 && written;
    const int error = errno;
    ::close(fd);
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        const std::string why = std::strerror(written ? errno : error);
        std::remove(temporary.c_str());
        return path.string() + ": " + why;
    }
    return "";
}

MappedPlaceIndex MapPlaceIndex(const std::filesystem::path& path, const PlaceFileStamp& stamp) {
    MappedPlaceIndex index;
    // Without O_NONBLOCK, opening a FIFO waits for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return index;
    struct stat status {};
    void* map = MAP_FAILED;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
        static_cast<std::uint64_t>(status.st_size) >= sizeof(Header))
        map = ::mmap(nullptr, static_cast<std::size_t>(status.st_size), PROT_READ, MAP_SHARED, fd, 0);
    ::close(fd);
    if (map == MAP_FAILED) return index;
    auto storage = std::make_shared<PlaceStorage>();
    storage->mapping = map;
    storage->mappingSize = static_cast<std::size_t>(status.st_size);
    const char* base = static_cast<const char*>(map);
    Header h;
    std::memcpy(&h, base, sizeof h);
    if (std::memcmp(h.magic, kMagic, sizeof kMagic) != 0 || h.byteOrder != kByteOrder || h.sections != kSections ||
        PlaceFileStamp{h.placeFileSize, h.placeFilePlaces, h.placeFileChecksum} != stamp ||
        !SectionsFit(h, storage->mappingSize))
        return index;
    const auto text = [&](Section s) { return std::string_view(base + h.section[s].offset, h.section[s].size); };
    const PlaceTable table{Elements<PlaceRecord>(base, h, kRecords), text(kText),
                           Elements<PlaceKey>(base, h, kKeys),       text(kKeyText),
                           Elements<std::uint32_t>(base, h, kGroupStart), Elements<float>(base, h, kLikelihood),
                           Elements<std::uint32_t>(base, h, kById)};
    if (!Sound(table)) return index;
    index.storage = std::move(storage);
    index.table = table;
    index.tableLines = text(kTableLines);
    return index;
}
