#include "places/close_spellings.h"

#include "places/gazetteer_tables.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::size_t kShortestTypo = 4;
constexpr std::size_t kLongestCompared = 64;

}  // namespace

std::size_t EditDistance(std::string_view a, std::string_view b, std::size_t most) {
    if (a.size() > kLongestCompared || b.size() > kLongestCompared) return most + 1;
    const size_t la = a.size(), lb = b.size();
    if ((la > lb ? la - lb : lb - la) > most) return most + 1;
    // Three rows of the table: two back for a swap.
    std::array<std::array<std::size_t, kLongestCompared + 1>, 3> rows{};
    for (size_t j = 0; j <= lb; ++j) rows[0][j] = j;
    for (size_t i = 1; i <= la; ++i) {
        auto& row = rows[i % 3];
        const auto& up = rows[(i - 1) % 3];
        const auto& twoUp = rows[(i + 1) % 3];
        row[0] = i;
        size_t least = row[0];
        for (size_t j = 1; j <= lb; ++j) {
            const size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            row[j] = std::min({up[j] + 1, row[j - 1] + 1, up[j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                row[j] = std::min(row[j], twoUp[j - 2] + 1);
            least = std::min(least, row[j]);
        }
        if (least > most) return most + 1;
    }
    return rows[la % 3][lb];
}

namespace {

// The keys of one table in the groups given (sorted) that are at most
// most edits from folded, into places.
void CloseInTable(const TableAt& at, const std::uint32_t (&groups)[5], const std::string& folded, std::size_t most,
                  PlaceHits& places) {
    const PlaceTable& t = *at.table;
    const char* text = t.keyText.data();
    for (size_t r = 0; r < std::size(groups); ++r) {
        if (r > 0 && groups[r] == groups[r - 1]) continue;
        for (std::uint32_t k = t.groupStart[groups[r]]; k < t.groupStart[groups[r] + 1]; ++k) {
            const PlaceKey& key = t.keys[k];
            const size_t length = key.length;
            if (key.kind == PlaceKey::kShortName ||
                (length > folded.size() ? length - folded.size() : folded.size() - length) > most)
                continue;
            const size_t edits = EditDistance(folded, std::string_view(text + key.offset, length), most);
            if (edits <= most)
                places.push_back({at.first + key.place,
                                  static_cast<std::uint8_t>(1 + 2 * edits + (key.kind == PlaceKey::kName ? 0 : 1))});
        }
    }
}

}  // namespace

PlaceHits CloseSpellings(const Gazetteer& g, const std::string& folded) {
    PlaceHits places;
    if (folded.size() < kShortestTypo) return places;
    const size_t most = folded.size() <= kShortNameLength ? 1 : 2;
    // The keys whose first three letters are the typed ones, or the typed
    // ones with one too many or two swapped: a typo among the first three
    // letters of a name is rare, and the other groups would be far more keys.
    const std::string q = folded;
    std::uint32_t groups[] = {KeyGroupOf(q), KeyGroupOf(std::string{q[0], q[1], q[3]}),
                              KeyGroupOf(std::string{q[0], q[2], q[3]}), KeyGroupOf(std::string{q[1], q[0], q[2]}),
                              KeyGroupOf(std::string{q[0], q[2], q[1]})};
    std::sort(std::begin(groups), std::end(groups));
    for (const TableAt& at : TablesOf(g))
        if (Searchable(*at.table)) CloseInTable(at, groups, folded, most, places);
    // Each place once, by its closest key.
    std::sort(places.begin(), places.end());
    places.erase(std::unique(places.begin(), places.end(),
                             [](const auto& a, const auto& b) { return a.first == b.first; }),
                 places.end());
    return places;
}
