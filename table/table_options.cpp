#include "table/table_options.h"

#include <algorithm>
#include <chrono>
#include <set>
#include <span>
#include <string_view>
#include <utility>

namespace {

// The synopsis and what the options mean, up to the formats.
constexpr const char* kUsageOpening =
    "usage: kelmorven-table --year Y --town NAME --longitude TEXT --latitude TEXT\n"
    "                       [--east | --west] [--north | --south] [--ten-mode | --sixty-mode]\n"
    "                       [--zone TEXT] [--summer-time] [--rtf] [--out DIR]\n"
    "                       [--today YYYY-MM-DD] [--format FORMAT] [--time-zone AREA/LOCATION]\n"
    "                       [--remind MINUTES] [--paper a4|letter]\n"
    "       kelmorven-table --year Y --batch FILE [--ten-mode | --sixty-mode]\n"
    "                       [--summer-time] [--rtf] [--out DIR] [--today YYYY-MM-DD]\n"
    "                       [--format FORMAT] [--remind MINUTES] [--paper a4|letter]\n"
    "       kelmorven-table --year Y --place QUERY [any option of the first form]\n"
    "       kelmorven-table --find QUERY\n"
    "       kelmorven-table --help | --version\n"
    "\n"
    "Writes the sunrise and sunset timetable of one place for the year Y into DIR\n"
    "(default: the current folder) as TOWN.TXT, or as TOWN.WRI (RTF) with --rtf.\n"
    "Defaults: --west, --north, --sixty-mode, --zone 0, no summer time.\n"
    "Coordinates are positive: 9.1030 means 9 degrees 10' 30'' in 60-mode,\n"
    "9.175 degrees in 10-mode; the sides are chosen with the options.\n"
    "FILE is a CSV file whose first line is\n"
    "    town,longitude,latitude,east_west,north_south,zone\n"
    "with one place per line (sides as east/west and north/south), and\n"
    "optionally a seventh column time_zone; or whose first line is place\n"
    "(or place,town) with one place by name per line, as --place takes it.\n"
    "QUERY is a town's name or its beginning, optionally with a country after\n"
    "a comma (\"Frankfurt, DE\"). --find lists the best 20 matches: name,\n"
    "country, latitude, longitude, time zone, population. --place takes the\n"
    "best match's town, coordinates (10-mode unless --sixty-mode) and sides,\n"
    "and for the documents its zone and summer time, for csv, json and ics\n"
    "its time zone; options given as well override them. Places come from\n"
    "DatenE/Places.tsv and DatenE/OwnPlaces.csv beside the program.\n";

constexpr const char* kUsageClosing =
    "Exit status: 0 written, 2 input refused, 3 document not writable,\n"
    "4 report not writable to standard output, 64 error in the options,\n"
    "unreadable FILE or no place found by --find.\n";

// Words joined into lines of at most 76 characters.
std::string Wrapped(const std::string& text) {
    std::string lines, line;
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find(' ', at), text.size());
        const std::string word = text.substr(at, end - at);
        if (!line.empty() && line.size() + 1 + word.size() > 76) {
            lines += line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        at = end + 1;
    }
    return lines + line + "\n";
}

// The formats' sentence, from the table of formats.
std::string FormatsSentence() {
    std::string sentence = "FORMAT is";
    std::string civil;
    const std::span<const OutputFormat> formats = OutputFormats();
    for (size_t i = 0; i < formats.size(); ++i) {
        const OutputFormat& f = formats[i];
        sentence += std::string(i == 0 ? " " : i + 1 == formats.size() ? " or " : ", ") + std::string(f.word) + " (TOWN" +
                    std::string(f.ending) + (i == 0 ? ", the default" : "") + (&f == &RtfDocumentFormat() ? ", as --rtf" : "") + ")";
        if (f.needs.timeZone) civil += (civil.empty() ? "" : ", ") + std::string(f.word);
    }
    return sentence + ". " + civil + " give the moments in full, in the civil time of --zone and --summer-time, or of "
           "--time-zone (an IANA zone such as Europe/Oslo; not for the documents). --remind adds an alarm MINUTES "
           "before each event. pdf is the year to print, its times and its chart on two A4 pages (US Letter with "
           "--paper letter), svg its chart alone.";
}

}  // namespace

std::string TableUsage() { return kUsageOpening + Wrapped(FormatsSentence()) + kUsageClosing; }

namespace {

bool AllDigits(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The longest reminder: a week.
constexpr int kLongestReminder = 7 * 24 * 60;
// What a CSV row gives instead.
const char* const kPlaceOptions[] = {"--town",  "--longitude", "--latitude", "--east",
                                     "--west",  "--north",     "--south",    "--zone",
                                     "--time-zone"};

// The options as read, before they are checked together.
struct Given {
    TableOptions& o;
    std::optional<std::string> today, format, remind, paper;
    bool Has(const char* name) const { return o.given.count(name) != 0; }
};

// One option: its name, whether a value follows it, and what it sets.
struct OptionRow {
    std::string_view name;
    bool valued;
    void (*apply)(Given& given, const std::string& value);
};

const OptionRow kOptionRows[] = {
    {"--year", true, [](Given& g, const std::string& v) { g.o.year = v; }},
    {"--town", true, [](Given& g, const std::string& v) { g.o.town = v; }},
    {"--longitude", true, [](Given& g, const std::string& v) { g.o.longitude = v; }},
    {"--latitude", true, [](Given& g, const std::string& v) { g.o.latitude = v; }},
    {"--east", false, [](Given& g, const std::string&) { g.o.west = false; }},
    {"--west", false, [](Given&, const std::string&) {}},
    {"--north", false, [](Given&, const std::string&) {}},
    {"--south", false, [](Given& g, const std::string&) { g.o.south = true; }},
    {"--ten-mode", false, [](Given& g, const std::string&) { g.o.sixtyMode = false; }},
    {"--sixty-mode", false, [](Given&, const std::string&) {}},
    {"--zone", true, [](Given& g, const std::string& v) { g.o.zone = v; }},
    {"--summer-time", false, [](Given& g, const std::string&) { g.o.summerTime = true; }},
    {"--rtf", false, [](Given& g, const std::string&) { g.o.format = &RtfDocumentFormat(); }},
    {"--out", true, [](Given& g, const std::string& v) { g.o.outFolder = v; }},
    {"--today", true, [](Given& g, const std::string& v) { g.today = v; }},
    {"--batch", true, [](Given& g, const std::string& v) { g.o.batchFile = v; }},
    {"--format", true, [](Given& g, const std::string& v) { g.format = v; }},
    {"--time-zone", true, [](Given& g, const std::string& v) { g.o.timeZone = v; }},
    {"--remind", true, [](Given& g, const std::string& v) { g.remind = v; }},
    {"--paper", true, [](Given& g, const std::string& v) { g.paper = v; }},
    {"--find", true, [](Given& g, const std::string& v) { g.o.find = v; }},
    {"--place", true, [](Given& g, const std::string& v) { g.o.place = v; }},
};

const OptionRow* FindOption(const std::string& name) {
    for (const OptionRow& row : kOptionRows)
        if (row.name == name) return &row;
    return nullptr;
}

// Each argument through its row; the first error in one line.
std::string ReadArguments(const std::vector<std::string>& arguments, Given& given) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        const OptionRow* row = FindOption(name);
        if (!row) return name.rfind("--", 0) == 0 ? "unknown option " + name : "unexpected argument \"" + name + "\"";
        if (!given.o.given.insert(name).second) return name + " is given twice";
        // The next argument is the value whatever it looks like: a zone may be -3.5.
        if (row->valued && i + 1 == arguments.size()) return name + " needs a value";
        row->apply(given, row->valued ? arguments[++i] : std::string());
    }
    return "";
}

std::string CheckExclusions(Given& g) {
    for (auto [one, other] : {std::pair{"--east", "--west"}, std::pair{"--north", "--south"},
                              std::pair{"--ten-mode", "--sixty-mode"}})
        if (g.Has(one) && g.Has(other)) return std::string(one) + " and " + other + " exclude each other";
    return "";
}

std::string CheckYear(Given& g) {
    if (!g.Has("--year")) return "--year is missing";
    if (!AllDigits(g.o.year)) return "--year takes digits only, not \"" + g.o.year + "\"";
    return "";
}

std::string CheckPlaceSource(Given& g) {
    if (g.o.batchFile) {
        for (const char* place : kPlaceOptions)
            if (g.Has(place)) return std::string(place) + " does not go with --batch: the file gives the places";
        if (g.o.place) return "--place does not go with --batch: the file gives the places";
    } else if (!g.o.place) {
        for (const char* required : {"--town", "--longitude", "--latitude"})
            if (!g.Has(required)) return std::string(required) + " is missing";
    }
    return g.o.outFolder.empty() ? "--out needs a folder" : "";
}

std::string CheckFormat(Given& g) {
    if (!g.format) return "";
    const OutputFormat* format = FindOutputFormat(*g.format);
    if (!format) return "--format takes " + FormatWords() + ", not \"" + *g.format + "\"";
    if (g.Has("--rtf") && format != &RtfDocumentFormat()) return "--rtf and --format " + *g.format + " exclude each other";
    g.o.format = format;
    return "";
}

std::string CheckTimeBasis(Given& g) {
    for (const char* zoneOption : {"--zone", "--summer-time"})
        if (g.o.timeZone && g.Has(zoneOption))
            return std::string(zoneOption) + " does not go with --time-zone: the time zone gives the offset and the summer time";
    return "";
}

std::string CheckReminder(Given& g) {
    if (!g.remind) return "";
    if (!g.o.format->needs.reminders) return "--remind goes with --format ics";
    const std::string& text = *g.remind;
    if (text.empty() || text.size() > 5 || !AllDigits(text) || std::stoi(text) > kLongestReminder)
        return "--remind takes whole minutes from 0 to " + std::to_string(kLongestReminder) + ", not \"" + text + "\"";
    g.o.remindMinutes = std::stoi(text);
    return "";
}

std::string CheckPaper(Given& g) {
    if (!g.paper) return "";
    if (g.o.format->word != "pdf") return "--paper goes with --format pdf";
    if (*g.paper != "a4" && *g.paper != "letter") return "--paper takes a4 or letter, not \"" + *g.paper + "\"";
    g.o.letterPaper = *g.paper == "letter";
    return "";
}

// A year without its leading zeros, against the last year the format holds.
std::string CheckYearLimit(Given& g) {
    const int last = g.o.format->needs.lastYear;
    const std::string digits = g.o.year.substr(std::min(g.o.year.find_first_not_of('0'), g.o.year.size()));
    if (last > 0 && (digits.size() > 4 || (!digits.empty() && std::stoi(digits) > last)))
        return "--format " + std::string(g.o.format->word) + " takes a year up to " + std::to_string(last);
    return "";
}

std::string CheckToday(Given& g) {
    if (!g.today) return "";
    g.o.today = ParseIsoDate(*g.today);
    return g.o.today ? "" : "--today takes a date YYYY-MM-DD, not \"" + *g.today + "\"";
}

// The checks of the options together, in the order their errors are told.
std::string (*const kChecks[])(Given&) = {CheckExclusions, CheckYear,     CheckPlaceSource, CheckFormat,
                                          CheckTimeBasis,  CheckReminder, CheckPaper,       CheckYearLimit,
                                          CheckToday};

}  // namespace

std::optional<DateValue> ParseIsoDate(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    const std::string y = text.substr(0, 4), m = text.substr(5, 2), d = text.substr(8, 2);
    if (!AllDigits(y) || !AllDigits(m) || !AllDigits(d)) return std::nullopt;
    const std::chrono::year_month_day date{std::chrono::year{std::stoi(y)}, std::chrono::month(std::stoul(m)),
                                           std::chrono::day(std::stoul(d))};
    if (!date.ok()) return std::nullopt;  // 31 April, 29 February 2005
    return std::chrono::sys_seconds(std::chrono::sys_days(date)).time_since_epoch().count();
}

ParsedOptions ParseTableOptions(const std::vector<std::string>& arguments) {
    ParsedOptions parsed;
    TableOptions& o = parsed.options;
    if (std::find(arguments.begin(), arguments.end(), "--help") != arguments.end()) {
        o.help = true;
        return parsed;
    }
    if (std::find(arguments.begin(), arguments.end(), "--version") != arguments.end()) {
        o.version = true;
        return parsed;
    }
    Given given{o, {}, {}, {}, {}};
    parsed.error = ReadArguments(arguments, given);
    if (!parsed.error.empty()) return parsed;
    if (o.find) {
        if (o.given.size() > 1) parsed.error = "--find goes alone";
        return parsed;
    }
    for (auto check : kChecks) {
        parsed.error = check(given);
        if (!parsed.error.empty()) break;
    }
    return parsed;
}
