// The search of the gazetteer by name.
#include "places/gazetteer.h"

#include "places/close_spellings.h"
#include "places/place_keys.h"
#include "text/code_page.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// The most spellings one query is tried in (St. as Saint and Sankt, ...).
constexpr size_t kMostVariants = 9;

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

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

// The countries and regions the words after one comma name.
struct PlaceFilter {
    std::vector<const PlaceCountry*> countries;
    std::vector<const PlaceRegion*> regions;
    bool Holds(const Place& place) const {
        for (const PlaceCountry* country : countries)
            if (country->code == place.country) return true;
        for (const PlaceRegion* region : regions)
            if (region->country == place.country && region->name == place.region) return true;
        return false;
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
    for (const PlaceCountry& country : g.countries) {
        const bool named = compact == country.code ||
                           std::find(country.folded.begin(), country.folded.end(), folded) != country.folded.end() ||
                           (folded.size() >= 3 && country.folded[0].rfind(folded, 0) == 0);
        if (named) filter.countries.push_back(&country);
    }
    for (const PlaceRegion& region : g.regions) {
        if (compact == region.abbreviation || region.folded == folded ||
            (folded.size() >= 4 && region.folded.rfind(folded, 0) == 0))
            filter.regions.push_back(&region);
    }
    return filter;
}

// A place's standing among equal matches: capitals and seats first, districts last.
int Standing(const Place& place) {
    if (place.feature == "PPLC" || place.feature == "PPLA" || place.feature == "PPLA2") return 2;
    return place.feature == "PPLX" ? 0 : 1;
}

// How well each place matches: its best key's grade, 0 for none.
struct Grades {
    explicit Grades(size_t places) : grade(places, 0) {}
    // Exact before prefix, own name before alternate, typed accents counted.
    static std::uint8_t Of(bool exact, PlaceKey::Kind kind, bool accent) {
        return static_cast<std::uint8_t>(1 + (exact ? 4 : 0) + (kind == PlaceKey::kName ? 2 : 0) + (accent ? 1 : 0));
    }
    void Note(std::uint32_t place, std::uint8_t g) {
        if (grade[place] == 0) found.push_back(place);
        grade[place] = std::max(grade[place], g);
    }
    std::vector<std::uint8_t> grade;
    std::vector<std::uint32_t> found;
};

void MatchBeginnings(const Gazetteer& g, const std::string& wanted, std::uint8_t accent, Grades& grades) {
    const auto [from, to] = GroupRange(wanted);
    const char* text = g.keyText.data();
    for (std::uint32_t k = g.groupStart[from]; k < g.groupStart[to]; ++k) {
        const PlaceKey& key = g.keys[k];
        if (key.length < wanted.size() || std::memcmp(text + key.offset, wanted.data(), wanted.size()) != 0) continue;
        const bool exact = key.length == wanted.size();
        if (key.kind == PlaceKey::kShortName && !exact) continue;
        grades.Note(key.place, Grades::Of(exact, key.kind, accent != 0 && key.accent == accent && exact));
    }
}

// How likely a matching place is the one meant: tenfold population counts
// as much as its own name (against an alternate one) counts half, typed
// accents found, or being a capital or seat; a district counts less.
double Weight(const Place& place, std::uint8_t grade) {
    const bool name = (grade & 2) != 0, accent = (grade & 1) != 0;
    const int standing = Standing(place);
    return std::log10(static_cast<double>(std::max<std::int64_t>(place.population, 0)) + 1) + (name ? 2 : 0) +
           (accent ? 1.5 : 0) + (standing == 2 ? 1 : standing == 0 ? -2 : 0);
}

// Ranks places by grade[place] (higher first; lower first when closeness
// counts edits) and then by Weight.
void Rank(const Gazetteer& g, const std::vector<std::uint8_t>& grade, bool closeness, std::vector<std::uint32_t>& places,
          size_t limit, PlaceMatches& matches) {
    struct Ranked {
        bool own;
        int level;  // higher first
        double weight;
        std::uint32_t place;
    };
    std::vector<Ranked> ranked;
    ranked.reserve(places.size());
    for (std::uint32_t p : places) {
        const Place& place = g.places[p];
        const std::uint8_t rank = grade[p];
        // A close spelling's rank is 1 + 2 * edits + (1 for an alternate name).
        const int level = closeness ? -((rank - 1) / 2) : (rank - 1) >> 2;
        const std::uint8_t bits = closeness ? static_cast<std::uint8_t>((rank - 1) % 2 ? 0 : 2)
                                            : static_cast<std::uint8_t>((rank - 1) & 3);
        ranked.push_back({place.own, level, Weight(place, bits), p});
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
    for (size_t i = 0; i < shown; ++i) matches.best.push_back(&g.places[ranked[i].place]);
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
               Grades& grades, std::string& unknown) {
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
    for (const std::string& variant : Variants(folded)) MatchBeginnings(g, variant, accent, grades);
    std::erase_if(grades.found, [&](std::uint32_t p) {
        const bool kept = std::all_of(filters.begin(), filters.end(),
                                      [&](const PlaceFilter& f) { return f.Holds(g.places[p]); });
        if (!kept) grades.grade[p] = 0;
        return !kept;
    });
    return true;
}

}  // namespace

namespace {

// The places a letter or two from the name, under the parts after its commas.
std::vector<std::uint32_t> CloseUnder(const Gazetteer& g, const std::vector<std::string_view>& parts,
                                      std::vector<std::uint8_t>& distance) {
    std::vector<std::uint32_t> close = CloseSpellings(g, FoldForSearch(parts[0]), distance);
    std::vector<PlaceFilter> filters;
    for (size_t k = 1; k < parts.size(); ++k) filters.push_back(FilterOf(g, Trimmed(parts[k])));
    std::erase_if(close, [&](std::uint32_t p) {
        return !std::all_of(filters.begin(), filters.end(), [&](const PlaceFilter& f) { return f.Holds(g.places[p]); });
    });
    return close;
}

// Whether a close spelling is a far likelier place than every beginning
// found ("Zurch" begins "Zürcherstrasse" but means Zürich).
bool CloseOutranks(const Gazetteer& g, const std::vector<std::uint32_t>& close, const PlaceMatches& begun) {
    const Place& first = *begun.best[0];
    if (first.own) return false;
    return std::any_of(close.begin(), close.end(), [&](std::uint32_t p) {
        const Place& place = g.places[p];
        return Standing(place) >= Standing(first) && place.population > 10 * std::max<std::int64_t>(first.population, 1);
    });
}

}  // namespace

PlaceMatches FindPlaces(const Gazetteer& gazetteer, std::string_view typed, std::size_t limit) {
    PlaceMatches matches;
    if (gazetteer.groupStart.size() != kKeyGroups + 1) return matches;
    const std::string query = IsUtf8(typed) ? std::string(typed) : Cp1252ToUtf8(typed);
    const std::vector<std::string_view> parts = CommaParts(query);
    // "Washington, D.C." is a name with a comma: each cut is tried, the
    // first with the most parts after it.
    std::string firstUnknown;
    Grades grades(gazetteer.places.size());
    bool exact = false;
    for (size_t cut = 1; cut <= parts.size() && grades.found.empty(); ++cut) {
        std::string name(parts[0]);
        for (size_t k = 1; k < cut; ++k) name += "," + std::string(parts[k]);
        const std::vector<std::string_view> narrowing(parts.begin() + static_cast<std::ptrdiff_t>(cut), parts.end());
        std::string unknown;
        if (!FindUnder(gazetteer, name, narrowing, grades, unknown) && cut == 1) firstUnknown = unknown;
    }
    for (std::uint32_t p : grades.found) exact = exact || grades.grade[p] >= Grades::Of(true, PlaceKey::kAlternate, false);
    if (!grades.found.empty()) Rank(gazetteer, grades.grade, false, grades.found, limit, matches);
    if (exact || (!matches.best.empty() && matches.best[0]->own)) return matches;
    if (matches.best.empty() && !firstUnknown.empty()) {
        matches.unknownPlace = firstUnknown;
        return matches;
    }
    // Nothing is called so: the names a letter or two away, when nothing
    // begins so or they are far likelier.
    std::vector<std::uint8_t> distance(gazetteer.places.size(), 0);
    std::vector<std::uint32_t> close = CloseUnder(gazetteer, parts, distance);
    if (close.empty() || (!matches.best.empty() && !CloseOutranks(gazetteer, close, matches))) return matches;
    matches = PlaceMatches{};
    matches.closeSpellings = true;
    Rank(gazetteer, distance, true, close, limit, matches);
    return matches;
}

const Place* FindPlaceById(const Gazetteer& gazetteer, std::int64_t id) {
    if (id <= 0) return nullptr;
    for (const Place& place : gazetteer.places)
        if (place.geonameId == id) return &place;
    return nullptr;
}
