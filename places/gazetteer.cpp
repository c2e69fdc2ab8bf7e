// The search of the gazetteer by name.
#include "places/gazetteer.h"

#include "places/close_spellings.h"
#include "places/gazetteer_tables.h"
#include "places/place_likelihood.h"
#include "places/query_transliteration.h"
#include "text/code_page.h"
#include "text/text_slices.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// The most spellings one query is tried in (St. as Saint and Sankt, ...).
constexpr size_t kMostVariants = 9;
// The most places a misspelt name may begin for its close spellings to be looked for.
constexpr size_t kMostHitsOfATypo = 5;

// The words that are one word written in full or shortened.
const std::vector<std::vector<std::string>>& SameWords() {
    static const std::vector<std::vector<std::string>> words = {
        {"st", "saint", "sankt"}, {"mt", "mount"}, {"ft", "fort"}};
    return words;
}

// The folded query with each shortened word also written the other ways.
std::vector<std::string> Variants(const std::string& folded) {
    std::vector<std::string> variants = {""};
    size_t start = 0;
    while (start <= folded.size()) {
        const size_t end = std::min(folded.find(' ', start), folded.size());
        const std::string word = folded.substr(start, end - start);
        const std::vector<std::string>* same = nullptr;
        for (const auto& group : SameWords())
            if (std::find(group.begin(), group.end(), word) != group.end()) same = &group;
        std::vector<std::string> next;
        for (const std::string& before : variants) {
            const std::string gap = before.empty() ? "" : " ";
            if (!same || variants.size() * same->size() > kMostVariants) next.push_back(before + gap + word);
            else
                for (const std::string& written : *same) next.push_back(before + gap + written);
        }
        variants = std::move(next);
        start = end + 1;
    }
    return variants;
}

// The first and one past the last group of the keys that begin as key does.
std::pair<std::uint32_t, std::uint32_t> GroupRange(std::string_view key) {
    const std::uint32_t first = KeyGroupOf(key);
    const std::uint32_t width = key.size() >= 3 ? 1 : key.size() == 2 ? kKeyCodes : kKeyCodes * kKeyCodes;
    return {first, first + width};
}

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

// The countries and regions the words after one comma name, by their
// indices in the gazetteer's tables.
struct PlaceFilter {
    std::vector<std::uint16_t> countries;
    std::vector<std::uint16_t> regions;
    bool Holds(const PlaceRecord& place) const {
        return std::find(countries.begin(), countries.end(), place.country) != countries.end() ||
               std::find(regions.begin(), regions.end(), place.region) != regions.end();
    }
};

// What the words name: a country by its code, a name or the beginning of its
// English name; a region by its code or name. Empty when they name neither.
PlaceFilter FilterOf(const Gazetteer& g, std::string_view typed) {
    PlaceFilter filter;
    const std::string folded = FoldForSearch(typed);
    std::string compact = Upper(folded);
    std::erase(compact, ' ');
    if (folded.empty()) return filter;
    for (size_t k = 0; k < g.countries.size() && k < PlaceRecord::kNone; ++k) {
        const PlaceCountry& country = g.countries[k];
        const bool named = compact == country.code ||
                           std::find(country.folded.begin(), country.folded.end(), folded) != country.folded.end() ||
                           (folded.size() >= 3 && country.folded[0].rfind(folded, 0) == 0);
        if (named) filter.countries.push_back(static_cast<std::uint16_t>(k));
    }
    for (size_t k = 0; k < g.regions.size() && k < PlaceRecord::kNone; ++k) {
        const PlaceRegion& region = g.regions[k];
        if (compact == region.abbreviation || region.folded == folded ||
            (folded.size() >= 4 && region.folded.rfind(folded, 0) == 0))
            filter.regions.push_back(static_cast<std::uint16_t>(k));
    }
    return filter;
}

// Whether a hit lies under every filter.
bool UnderAll(const Gazetteer& g, const std::vector<PlaceFilter>& filters, std::uint32_t place) {
    const PlaceRecord& record = RecordAt(g, place);
    return std::all_of(filters.begin(), filters.end(), [&](const PlaceFilter& f) { return f.Holds(record); });
}

// Exact before prefix, own name before alternate, typed accents counted.
std::uint8_t GradeOf(bool exact, PlaceKey::Kind kind, bool accent) {
    return static_cast<std::uint8_t>(1 + (exact ? 4 : 0) + (kind == PlaceKey::kName ? 2 : 0) + (accent ? 1 : 0));
}

void MatchBeginnings(const Gazetteer& g, const std::string& wanted, std::uint8_t accent, PlaceHits& hits) {
    const auto [from, to] = GroupRange(wanted);
    for (const TableAt& at : TablesOf(g)) {
        const PlaceTable& t = *at.table;
        if (!Searchable(t)) continue;
        const char* text = t.keyText.data();
        for (std::uint32_t k = t.groupStart[from]; k < t.groupStart[to]; ++k) {
            const PlaceKey& key = t.keys[k];
            if (key.length < wanted.size() || std::memcmp(text + key.offset, wanted.data(), wanted.size()) != 0)
                continue;
            const bool exact = key.length == wanted.size();
            if (key.kind == PlaceKey::kShortName && !exact) continue;
            hits.push_back({at.first + key.place, GradeOf(exact, key.kind, accent != 0 && key.accent == accent && exact)});
        }
    }
}

// How likely a matching place is the one meant: its likelihood, with its
// own name (against an alternate one) counting as a hundredfold population
// and typed accents found as thirtyfold.
float Weight(const Gazetteer& g, std::uint32_t place, std::uint8_t grade) {
    const bool name = (grade & 2) != 0, accent = (grade & 1) != 0;
    const auto [table, k] = Locate(g, place);
    return table->likelihood[k] + (name ? 2.0f : 0.0f) + (accent ? 1.5f : 0.0f);
}

// Ranks places by grade[place] (higher first; lower first when closeness
// counts edits) and then by Weight.
void Rank(const Gazetteer& g, const PlaceHits& hits, bool closeness, size_t limit, PlaceMatches& matches) {
    struct Ranked {
        bool own;
        int level;  // higher first
        float weight;
        std::uint32_t place;
    };
    std::vector<Ranked> ranked;
    ranked.reserve(hits.size());
    for (const auto& [p, rank] : hits) {
        // A close spelling's rank is 1 + 2 * edits + (1 for an alternate name).
        const int level = closeness ? -((rank - 1) / 2) : (rank - 1) >> 2;
        const std::uint8_t bits = closeness ? static_cast<std::uint8_t>((rank - 1) % 2 ? 0 : 2)
                                            : static_cast<std::uint8_t>((rank - 1) & 3);
        ranked.push_back({IsOwn(g, p), level, Weight(g, p, bits), p});
    }
    const auto better = [&](const Ranked& x, const Ranked& y) {
        if (x.own != y.own) return x.own;
        if (x.level != y.level) return x.level > y.level;
        if (x.weight != y.weight) return x.weight > y.weight;
        return x.place < y.place;
    };
    matches.total = ranked.size();
    const size_t shown = std::min(limit, ranked.size());
    std::partial_sort(ranked.begin(), ranked.begin() + static_cast<std::ptrdiff_t>(shown), ranked.end(), better);
    for (size_t i = 0; i < shown; ++i) {
        matches.best.push_back(PlaceAt(g, ranked[i].place));
        matches.indices.push_back(ranked[i].place);
    }
}

// The query cut at its commas: a name, then the parts that narrow it.
struct QueryParts {
    std::string name;
    std::vector<std::string_view> narrowing;
};

std::vector<std::string_view> CommaParts(std::string_view query) {
    std::vector<std::string_view> parts;
    for (;;) {
        const size_t comma = query.find(',');
        parts.push_back(query.substr(0, comma));
        if (comma == std::string_view::npos) return parts;
        query.remove_prefix(comma + 1);
    }
}

// Places by name under the filters; false when the parts after the commas
// name no country or region (the first such part in unknown).
bool FindUnder(const Gazetteer& g, const std::string& name, const std::vector<std::string_view>& narrowing,
               PlaceHits& hits, std::string& unknown) {
    std::vector<PlaceFilter> filters;
    for (std::string_view part : narrowing) {
        filters.push_back(FilterOf(g, Trimmed(part)));
        if (filters.back().countries.empty() && filters.back().regions.empty()) {
            unknown = Trimmed(part);
            return false;
        }
    }
    const std::string folded = FoldForSearch(name);
    if (folded.empty()) return true;
    const std::uint8_t accent = AccentMark(Trimmed(name));
    for (const std::string& variant : Variants(folded)) MatchBeginnings(g, variant, accent, hits);
    KeepBest(hits, PlaceCount(g));
    std::erase_if(hits, [&](const auto& hit) { return !UnderAll(g, filters, hit.first); });
    return true;
}

}  // namespace

namespace {

// The places a letter or two from the name, under the parts after its commas.
PlaceHits CloseUnder(const Gazetteer& g, const std::vector<std::string_view>& parts) {
    PlaceHits close = CloseSpellings(g, FoldForSearch(parts[0]));
    std::vector<PlaceFilter> filters;
    for (size_t k = 1; k < parts.size(); ++k) filters.push_back(FilterOf(g, Trimmed(parts[k])));
    std::erase_if(close, [&](const auto& hit) { return !UnderAll(g, filters, hit.first); });
    return close;
}

// Whether a close spelling is a far likelier place than every beginning
// found ("Zurch" begins "Zürcherstrasse" but means Zürich).
bool CloseOutranks(const Gazetteer& g, const PlaceHits& close, const PlaceMatches& begun) {
    if (IsOwn(g, begun.indices[0])) return false;
    const Place& first = begun.best[0];
    const int standing = Standing(first.feature);
    return std::any_of(close.begin(), close.end(), [&](const auto& hit) {
        const auto [table, k] = Locate(g, hit.first);
        const PlaceRecord& place = table->records[k];
        return Standing(FeatureOf(*table, place)) >= standing &&
               place.population > 10 * std::max<std::int64_t>(first.population, 1);
    });
}

}  // namespace

PlaceMatches FindPlaces(const Gazetteer& gazetteer, std::string_view typed, std::size_t limit) {
    PlaceMatches matches;
    const std::string query = IsUtf8(typed) ? std::string(typed) : Cp1252ToUtf8(typed);
    const std::vector<std::string_view> parts = CommaParts(query);
    // "Washington, D.C." is a name with a comma: each cut is tried, the
    // first with the most parts after it.
    std::string firstUnknown;
    PlaceHits hits;
    for (size_t cut = 1; cut <= parts.size() && hits.empty(); ++cut) {
        std::string name(parts[0]);
        for (size_t k = 1; k < cut; ++k) name += "," + std::string(parts[k]);
        const std::vector<std::string_view> narrowing(parts.begin() + static_cast<std::ptrdiff_t>(cut), parts.end());
        std::string unknown;
        if (!FindUnder(gazetteer, name, narrowing, hits, unknown) && cut == 1) firstUnknown = unknown;
    }
    // A name in a script the place file has no name in: tried again in Latin letters.
    if (hits.empty())
        if (const std::optional<std::string> latin = TransliteratedQuery(query)) return FindPlaces(gazetteer, *latin, limit);
    const bool exact = std::any_of(hits.begin(), hits.end(), [](const auto& hit) {
        return hit.second >= GradeOf(true, PlaceKey::kAlternate, false);
    });
    if (!hits.empty()) Rank(gazetteer, hits, false, limit, matches);
    // A name typed in part begins many names; a misspelt one few or none.
    if (exact || matches.total > kMostHitsOfATypo || (!matches.best.empty() && matches.best[0].own)) return matches;
    if (matches.best.empty() && !firstUnknown.empty()) {
        matches.unknownPlace = firstUnknown;
        return matches;
    }
    // Nothing is called so: the names a letter or two away, when nothing
    // begins so or they are far likelier.
    const PlaceHits close = CloseUnder(gazetteer, parts);
    if (close.empty() || (!matches.best.empty() && !CloseOutranks(gazetteer, close, matches))) return matches;
    matches = PlaceMatches{};
    matches.closeSpellings = true;
    Rank(gazetteer, close, true, limit, matches);
    return matches;
}

void KeepBest(PlaceHits& hits, std::size_t places) {
    // Many hits (a query of two letters) are merged in a table of every
    // place rather than sorted.
    if (hits.size() > places / 64) {
        std::vector<std::uint8_t> best(places, 0);
        for (const auto& [p, grade] : hits) best[p] = std::max(best[p], grade);
        hits.clear();
        for (std::uint32_t p = 0; p < best.size(); ++p)
            if (best[p]) hits.push_back({p, best[p]});
        return;
    }
    std::sort(hits.begin(), hits.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : a.second > b.second;
    });
    hits.erase(std::unique(hits.begin(), hits.end(), [](const auto& a, const auto& b) { return a.first == b.first; }),
               hits.end());
}

std::optional<Place> FindPlaceById(const Gazetteer& gazetteer, std::int64_t id) {
    const PlaceTable& t = gazetteer.shipped;
    if (id <= 0 || id > UINT32_MAX) return std::nullopt;
    const auto at = std::lower_bound(t.byId.begin(), t.byId.end(), id, [&](std::uint32_t k, std::int64_t wanted) {
        return t.records[k].geonameId < wanted;
    });
    if (at == t.byId.end() || t.records[*at].geonameId != id) return std::nullopt;
    return PlaceAt(gazetteer, static_cast<std::uint32_t>(gazetteer.own.records.size()) + *at);
}

std::size_t PlaceCount(const Gazetteer& gazetteer) {
    return gazetteer.own.records.size() + gazetteer.shipped.records.size();
}

Place PlaceAt(const Gazetteer& g, std::uint32_t index) {
    const auto [table, k] = Locate(g, index);
    const PlaceRecord& r = table->records[k];
    Place place;
    place.name = NameOf(*table, r);
    place.asciiName = AsciiNameOf(*table, r);
    place.zone = ZoneColumnOf(*table, r);
    place.timeZone = TimeZoneOf(*table, r);
    place.feature = FeatureOf(*table, r);
    place.latitude = r.latitude;
    place.longitude = r.longitude;
    place.population = r.population;
    place.geonameId = r.geonameId;
    place.own = table == &g.own;
    if (r.country < g.countries.size()) {
        place.country = g.countries[r.country].code;
        place.countryName = g.countries[r.country].name;
    }
    if (r.region < g.regions.size()) place.region = g.regions[r.region].name;
    return place;
}
