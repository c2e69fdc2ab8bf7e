#include "places/close_spellings.h"

#include "places/place_keys.h"

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

std::vector<std::uint32_t> CloseSpellings(const Gazetteer& g, const std::string& folded,
                                          std::vector<std::uint8_t>& rank) {
    std::vector<std::uint32_t> places;
    if (folded.size() < kShortestTypo || g.groupStart.size() != kKeyGroups + 1) return places;
    const size_t most = folded.size() <= kShortNameLength ? 1 : 2;
    // The keys that share the first letter, in the groups of the first two
    // letters as typed and of the first and third (the second typed in excess).
    const std::uint32_t sameTwo = KeyGroupOf(folded.substr(0, 2));
    const std::uint32_t skipOne = KeyGroupOf(std::string{folded[0], folded[2]});
    const std::pair<std::uint32_t, std::uint32_t> ranges[] = {
        {sameTwo, sameTwo + kKeyCodes}, {skipOne, skipOne + kKeyCodes}};
    const char* text = g.keyText.data();
    for (size_t r = 0; r < 2; ++r) {
        if (r == 1 && ranges[1].first == ranges[0].first) break;
        for (std::uint32_t k = g.groupStart[ranges[r].first]; k < g.groupStart[ranges[r].second]; ++k) {
            const PlaceKey& key = g.keys[k];
            if (key.kind == PlaceKey::kShortName) continue;
            const size_t length = key.length;
            if ((length > folded.size() ? length - folded.size() : folded.size() - length) > most) continue;
            const size_t edits = EditDistance(folded, std::string_view(text + key.offset, length), most);
            if (edits > most) continue;
            const auto grade = static_cast<std::uint8_t>(1 + 2 * edits + (key.kind == PlaceKey::kName ? 0 : 1));
            if (rank[key.place] == 0) places.push_back(key.place);
            else if (rank[key.place] <= grade) continue;
            rank[key.place] = grade;
        }
    }
    return places;
}
