#include "places/place_settings.h"

#include "calc/calendar.h"
#include "calc/civil_time_zone.h"
#include "calc/summer_time.h"
#include "input/field_text.h"
#include "text/conversions.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
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

// A place's name for the town field: a slash between two names (BIEL/BIENNE)
// as a blank, runs of blanks as one.
std::string SlashesAsBlanks(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '/') c = ' ';
        if (c != ' ' || (!out.empty() && out.back() != ' ')) out += c;
    }
    return out;
}

bool EndsAWord(char c) { return c == ' ' || c == '-'; }

// Whole words of at most kTownLength characters: cut after the last word
// that fits (a single longer word is cut at the length), then without
// blanks, hyphens, commas or dots at the end.
std::string Cut(std::string cp1252) {
    if (cp1252.size() > kTownLength) {
        size_t end = kTownLength;
        if (!EndsAWord(cp1252[end]))
            while (end > 0 && !EndsAWord(cp1252[end - 1])) --end;
        cp1252.resize(end > 0 ? end : kTownLength);
    }
    while (!cp1252.empty() && std::string_view(" -.,").find(cp1252.back()) != std::string_view::npos)
        cp1252.pop_back();
    return cp1252;
}

// "+3", "-4:30", "+0:34:08": an offset as the notes name it.
std::string OffsetName(int32_t seconds) {
    const int32_t size = std::abs(seconds);
    char text[24];
    if (size % 60 != 0)
        std::snprintf(text, sizeof text, "%c%d:%02d:%02d", seconds < 0 ? '-' : '+', size / 3600, size / 60 % 60,
                      size % 60);
    else if (size % 3600 != 0)
        std::snprintf(text, sizeof text, "%c%d:%02d", seconds < 0 ? '-' : '+', size / 3600, size / 60 % 60);
    else
        std::snprintf(text, sizeof text, "%c%d", seconds < 0 ? '-' : '+', size / 3600);
    return text;
}

std::string DateName(int month, int day) {
    static constexpr const char* kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                              "July",    "August",   "September", "October", "November", "December"};
    return std::to_string(day) + " " + kMonths[month - 1];
}

// The offsets of each day of a year, taken at its local noon.
struct ZoneDays {
    std::vector<int32_t> standard, civil;
    std::vector<std::chrono::year_month_day> dates;
};

ZoneDays ZoneDaysOf(const CivilTimeZone& zone, int year) {
    using namespace std::chrono;
    ZoneDays days;
    // To 31 December: the year after 32767 has no std::chrono::year.
    const sys_days first = std::chrono::year{year} / January / 1, last = std::chrono::year{year} / December / 31;
    for (sys_days d = first; d <= last; d += std::chrono::days{1}) {
        const year_month_day date{d};
        const int32_t standard = zone.StandardOffset(year, static_cast<int>(static_cast<unsigned>(date.month())),
                                                     static_cast<int>(static_cast<unsigned>(date.day())));
        const int64_t noon = int64_t{d.time_since_epoch().count()} * 86400 + 12 * 3600 - standard;
        days.standard.push_back(standard);
        days.civil.push_back(zone.OffsetAt(noon));
        days.dates.push_back(date);
    }
    return days;
}

// The value held on most days; of two held equally long, the later.
int32_t MostDays(const std::vector<int32_t>& values) {
    int32_t best = values.back();
    long bestCount = 0;
    for (size_t i = values.size(); i-- > 0;) {
        const long count = std::count(values.begin(), values.end(), values[i]);
        if (count > bestCount) best = values[i], bestCount = count;
    }
    return best;
}

std::optional<StandardChange> FirstChange(const ZoneDays& days) {
    for (size_t i = 1; i < days.standard.size(); ++i)
        if (days.standard[i] != days.standard[i - 1])
            return StandardChange{static_cast<int>(static_cast<unsigned>(days.dates[i].month())),
                                  static_cast<int>(static_cast<unsigned>(days.dates[i].day())), days.standard[i - 1],
                                  days.standard[i]};
    return std::nullopt;
}

std::string NoteOf(const DocumentTimeBasis& basis) {
    std::string note;
    if (basis.change)
        note = "standard time changes on " + DateName(basis.change->month, basis.change->day) + " from " +
               OffsetName(basis.change->from) + " to " + OffsetName(basis.change->to) + "; the tables keep " +
               OffsetName(basis.zoneSeconds);
    if (basis.keepsStandardTime)
        note += std::string(note.empty() ? "" : "; ") +
                "its summer time is not the tables' period from the last Sunday of March to October: the tables "
                "keep standard time (zone " + ZoneFieldText(basis.zoneSeconds) + ")";
    return note;
}

}  // namespace

std::string TownFromPlace(const Place& place) {
    std::string town = TownCapitals(Utf8ToCp1252(WrittenOut(SlashesAsBlanks(place.name))));
    if (TownFieldTakes(town)) return Cut(town);
    std::string ascii;
    for (char c : TownCapitals(Utf8ToCp1252(WrittenOut(SlashesAsBlanks(place.asciiName)))))
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

std::string ZoneFieldText(int32_t seconds) {
    // The solver takes the zone field as a float: its shortest text names
    // exactly that float, as the data's seconds / 3600 does.
    char text[32];
    const float hours = static_cast<float>(seconds / 3600.0);
    return std::string(text, std::to_chars(text, text + sizeof text, hours).ptr);
}

std::optional<DocumentTimeBasis> DocumentTimeBasisOf(const Place& place, int year) {
    if (place.timeZone.empty()) {
        if (!place.own) return std::nullopt;
        const double hours = ParseReal(Utf8ToCp1252(place.zone));
        return DocumentTimeBasis{static_cast<int32_t>(std::lround(hours * 3600)), false, false, std::nullopt};
    }
    const CivilTimeZone::Lookup lookup = CivilTimeZone::Find(place.timeZone);
    if (!lookup.zone) return std::nullopt;
    const ZoneDays days = ZoneDaysOf(*lookup.zone, year);
    DocumentTimeBasis basis{MostDays(days.standard), false, false, FirstChange(days)};

    const auto [low, high] = std::minmax_element(days.civil.begin(), days.civil.end());
    if (*low == *high) return basis;
    // Summer time one hour ahead on exactly the documents' days: the
    // documents show it, whichever period the database calls standard
    // (Europe/Dublin calls its winter the summer time).
    const LeapFlag leap = CheckLeapYear(static_cast<float>(year)).flag;
    const SummerTimePeriod period = ComputeSummerTimePeriod(static_cast<float>(year), leap);
    bool documentsPeriod = *high - *low == 3600;
    for (size_t d = 0; d < days.civil.size() && documentsPeriod; ++d)
        documentsPeriod = (days.civil[d] == *high) == (static_cast<int>(d) + 1 >= period.start &&
                                                        static_cast<int>(d) + 1 <= period.end);
    if (documentsPeriod) return DocumentTimeBasis{*low, true, false, std::nullopt};
    for (size_t d = 0; d < days.civil.size(); ++d)
        basis.keepsStandardTime = basis.keepsStandardTime || days.civil[d] != days.standard[d];
    return basis;
}

PlaceInput InputOfPlace(const Place& place, int year, bool sixtyMode) {
    PlaceInput input;
    input.town = TownFromPlace(place);
    input.longitude = CoordinateFieldText(place.longitude, sixtyMode);
    input.latitude = CoordinateFieldText(place.latitude, sixtyMode);
    input.west = place.longitude < 0;
    input.south = place.latitude < 0;
    input.timeZone = place.timeZone;
    input.basis = DocumentTimeBasisOf(place, year);
    if (!input.basis) return input;
    input.timeBasisKnown = true;
    input.zone = ZoneFieldText(input.basis->zoneSeconds);
    input.summerTime = input.basis->summerTime;
    input.note = NoteOf(*input.basis);
    return input;
}
