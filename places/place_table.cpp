// Building a place table at load or for the index file.
#include "places/place_table.h"

#include "places/name_folding.h"
#include "places/place_keys.h"
#include "places/place_likelihood.h"

#include <sys/mman.h>

#include <algorithm>
#include <unordered_map>

namespace {

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

// Offsets and lengths of the table are 32 and 16 bits wide.
constexpr std::size_t kLongestText = UINT32_MAX - UINT16_MAX * 3;

}  // namespace

PlaceStorage::~PlaceStorage() {
    if (mapping) ::munmap(const_cast<void*>(mapping), mappingSize);
}

PlaceTable PlaceStorage::Table() const {
    return {records, text, keys, keyText, groupStart, likelihood, byId};
}

struct PlaceTableBuilder::Work {
    std::shared_ptr<PlaceStorage> storage = std::make_shared<PlaceStorage>();
    std::vector<PlaceKey> loose;             // the keys before grouping
    std::unordered_map<std::string, std::uint32_t> shared;  // a zone's or feature's text, once
    size_t placeKeys = 0;                    // the first key of the last place

    std::string_view Text(const PlaceKey& key) const {
        return std::string_view(storage->keyText).substr(key.offset, key.length);
    }

    void Put(const std::string& folded, PlaceKey::Kind kind, std::uint8_t accent) {
        if (folded.empty() || folded.size() > UINT16_MAX || storage->keyText.size() > kLongestText) return;
        loose.push_back({static_cast<std::uint32_t>(storage->keyText.size()),
                         static_cast<std::uint16_t>(folded.size()), kind, accent,
                         static_cast<std::uint32_t>(storage->records.size() - 1)});
        storage->keyText += folded;
    }

    // The last place's keys sorted, so that a spelling found twice (with
    // the same accents) is kept once, by its best kind: a sort, not a search
    // for each new key, which would take a place with thousands of alternate
    // names quadratic time.
    void EndPlace() {
        if (loose.size() - placeKeys > 1) {
            const auto begin = loose.begin() + static_cast<std::ptrdiff_t>(placeKeys);
            std::sort(begin, loose.end(), [&](const PlaceKey& a, const PlaceKey& b) {
                const std::string_view x = Text(a), y = Text(b);
                return x != y ? x < y : a.accent != b.accent ? a.accent < b.accent : a.kind < b.kind;
            });
            const auto end = std::unique(begin, loose.end(), [&](const PlaceKey& a, const PlaceKey& b) {
                return a.accent == b.accent && Text(a) == Text(b);
            });
            loose.erase(end, loose.end());
        }
        placeKeys = loose.size();
    }

    std::uint32_t Shared(std::string_view value) {
        const auto [at, added] = shared.try_emplace(std::string(value), static_cast<std::uint32_t>(storage->text.size()));
        if (added) storage->text += value;
        return at->second;
    }
};

PlaceTableBuilder::PlaceTableBuilder() : work_(std::make_unique<Work>()) {}
PlaceTableBuilder::~PlaceTableBuilder() = default;

void PlaceTableBuilder::Reserve(std::size_t places, std::size_t bytes) {
    // About 4 keys of 9 bytes to a place of 110 bytes.
    work_->storage->records.reserve(places);
    work_->storage->text.reserve(bytes / 6);
    work_->loose.reserve(bytes / 28);
    work_->storage->keyText.reserve(bytes / 3);
}

bool PlaceTableBuilder::AddPlace(const PlaceFields& f) {
    PlaceStorage& s = *work_->storage;
    for (std::string_view field : {f.name, f.asciiName, f.zone, f.timeZone})
        if (field.size() > UINT16_MAX) return false;
    if (f.feature.size() > UINT8_MAX || s.text.size() > kLongestText || s.records.size() >= UINT32_MAX) return false;
    work_->EndPlace();
    PlaceRecord r;
    r.latitude = f.latitude;
    r.longitude = f.longitude;
    r.population = f.population;
    r.geonameId = f.geonameId;
    r.country = f.country;
    r.region = f.region;
    r.names = static_cast<std::uint32_t>(s.text.size());
    r.nameLength = static_cast<std::uint16_t>(f.name.size());
    r.asciiLength = static_cast<std::uint16_t>(f.asciiName.size());
    r.zoneLength = static_cast<std::uint16_t>(f.zone.size());
    s.text.append(f.name).append(f.asciiName).append(f.zone);
    r.timeZone = work_->Shared(f.timeZone);
    r.timeZoneLength = static_cast<std::uint16_t>(f.timeZone.size());
    r.feature = work_->Shared(f.feature);
    r.featureLength = static_cast<std::uint8_t>(f.feature.size());
    s.records.push_back(r);
    return true;
}

void PlaceTableBuilder::AddName(std::string_view name, PlaceKey::Kind kind) {
    if (work_->storage->records.empty()) return;
    if (kind == PlaceKey::kAlternate && IsShortName(name)) kind = PlaceKey::kShortName;
    const std::uint8_t accent = AccentMark(name);
    work_->Put(FoldForSearch(name, false), kind, accent);
    if (HasUmlaut(name)) work_->Put(FoldForSearch(name, true), kind, accent);
    if (name.find('/') == std::string_view::npos) return;
    for (size_t start = 0; start <= name.size();) {
        const size_t slash = std::min(name.find('/', start), name.size());
        if (slash > start && slash - start < name.size()) AddName(name.substr(start, slash - start), kind);
        start = slash + 1;
    }
}

std::size_t PlaceTableBuilder::Count() const { return work_->storage->records.size(); }

std::shared_ptr<const PlaceStorage> PlaceTableBuilder::Finish() {
    Work& w = *work_;
    PlaceStorage& s = *w.storage;
    w.EndPlace();
    // The keys grouped by a counting sort on their group.
    std::vector<std::uint32_t> start(kKeyGroups + 1, 0);
    for (const PlaceKey& key : w.loose) ++start[KeyGroupOf(w.Text(key)) + 1];
    for (std::uint32_t g = 0; g < kKeyGroups; ++g) start[g + 1] += start[g];
    s.keys.resize(w.loose.size());
    std::vector<std::uint32_t> next(start.begin(), start.end() - 1);
    for (const PlaceKey& key : w.loose) s.keys[next[KeyGroupOf(w.Text(key))]++] = key;
    s.groupStart = std::move(start);
    w.loose = {};
    s.keyText.shrink_to_fit();
    s.text.shrink_to_fit();
    s.records.shrink_to_fit();
    const PlaceTable t = s.Table();
    s.likelihood.reserve(s.records.size());
    for (const PlaceRecord& r : s.records) s.likelihood.push_back(PlaceLikelihood(r.population, FeatureOf(t, r)));
    for (std::uint32_t k = 0; k < s.records.size(); ++k)
        if (s.records[k].geonameId != 0) s.byId.push_back(k);
    std::stable_sort(s.byId.begin(), s.byId.end(), [&](std::uint32_t a, std::uint32_t b) {
        return s.records[a].geonameId < s.records[b].geonameId;
    });
    std::shared_ptr<const PlaceStorage> done = std::move(w.storage);
    work_ = std::make_unique<Work>();
    return done;
}
