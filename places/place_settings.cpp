#include "places/place_settings.h"

#include "calc/calendar.h"
#include "calc/civil_time_zone.h"
#include "calc/summer_time.h"
#include "input/field_text.h"
#include "text/code_page.h"
#include "text/numbers.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr std::size_t kTownLength = 20;

// What the town check refuses: its nine signs and the umlauts and ß (which
// TownFromPlace writes out before looking), and what the field never takes.
bool TownFieldTakes(const std::string& cp1252) {
    for (char c : cp1252) {
        if (std::string_view("\\/:*?<>#|").find(c) != std::string_view::npos || IsControlByte(c)) return false;
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0xC4 || byte == 0xD6 || byte == 0xDC || byte == 0xDF) return false;
    }
    return true;
}

std::string WrittenOut(const std::string& utf8) {
    static constexpr std::pair<std::string_view, std::string_view> kWrittenOut[] = {
        {"ä", "ae"}, {"ö", "oe"}, {"ü", "ue"}, {"Ä", "AE"}, {"Ö", "OE"}, {"Ü", "UE"}, {"ß", "ss"}, {"ẞ", "SS"}};
    std::string text = utf8;
    for (const auto& [letter, letters] : kWrittenOut)
        for (size_t at = text.find(letter); at != std::string::npos; at = text.find(letter, at + letters.size()))
            text.replace(at, letter.size(), letters);
    return text;
}

std::string Cut(std::string cp1252) {
    if (cp1252.size() > kTownLength) cp1252.resize(kTownLength);
    while (!cp1252.empty() && cp1252.back() == ' ') cp1252.pop_back();
    return cp1252;
}

}  // namespace

std::string TownFromPlace(const Place& place) {
    std::string town = TownCapitals(Utf8ToCp1252(WrittenOut(place.name)));
    if (TownFieldTakes(town)) return Cut(town);
    std::string ascii;
    for (char c : TownCapitals(Utf8ToCp1252(WrittenOut(place.asciiName))))
        if (TownFieldTakes(std::string(1, c))) ascii += c;
    return Cut(ascii);
}

std::string CoordinateFieldText(double degrees, bool sixtyMode) {
    const double magnitude = std::fabs(degrees);
    if (!sixtyMode) return FormatFixed(magnitude, 4);  // rounded as printf rounds, in any locale
    char text[32];
    const long seconds = std::lround(magnitude * 3600);
    std::snprintf(text, sizeof text, "%ld.%02ld%02ld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

std::optional<DocumentTimeBasis> DocumentTimeBasisOf(const Place& place, int year) {
    if (place.timeZone.empty()) {
        if (!place.own) return std::nullopt;
        return DocumentTimeBasis{ParseReal(Utf8ToCp1252(place.zone)), false, false};
    }
    const CivilTimeZone::Lookup lookup = CivilTimeZone::Find(place.timeZone);
    if (!lookup.zone) return std::nullopt;
    const CivilTimeZone& zone = *lookup.zone;

    // The civil offset at each day's local noon (taken at standard time).
    const int32_t standard = zone.StandardOffset(year, 1, 1);
    using namespace std::chrono;
    const int64_t firstDay = sys_days{std::chrono::year{year} / January / 1}.time_since_epoch().count();
    const LeapFlag leap = CheckLeapYear(static_cast<float>(year)).flag;
    const int days = leap == 1 ? 366 : 365;
    std::vector<int32_t> offsets(static_cast<size_t>(days));
    for (int d = 0; d < days; ++d)
        offsets[static_cast<size_t>(d)] = zone.OffsetAt((firstDay + d) * 86400 + 12 * 3600 - standard);
    const auto [low, high] = std::minmax_element(offsets.begin(), offsets.end());
    if (*low == *high) return DocumentTimeBasis{*low / 3600.0, false, false};

    // Summer time one hour ahead on exactly the documents' days: the
    // documents show it. (The database may call either period standard.)
    const SummerTimePeriod period = ComputeSummerTimePeriod(static_cast<float>(year), leap);
    bool documentsPeriod = *high - *low == 3600;
    for (int d = 0; d < days && documentsPeriod; ++d)
        documentsPeriod = (offsets[static_cast<size_t>(d)] == *high) == (d + 1 >= period.start && d + 1 <= period.end);
    if (documentsPeriod) return DocumentTimeBasis{*low / 3600.0, true, false};
    const int32_t zoneSeconds = *high - *low == 3600 ? *low : standard;
    return DocumentTimeBasis{zoneSeconds / 3600.0, false, true};
}
