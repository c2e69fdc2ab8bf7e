#include "table/table_options.h"

#include <algorithm>
#include <chrono>
#include <set>
#include <span>
#include <string_view>
#include <utility>

namespace {

// The forms of the command line an option belongs to.
constexpr unsigned kOnePlace = 1;   // --town, --longitude, --latitude
constexpr unsigned kBatchForm = 2;  // --batch FILE

// The options as read, before they are checked together.
struct Given {
    TableOptions& o;
    std::optional<std::string> today, format, remind, paper;
    bool Has(std::string_view name) const { return o.given.count(std::string(name)) != 0; }
};

// One option: its name, the value that follows it, its line of help, where
// the usage shows it, and what it sets.
struct OptionRow {
    std::string_view name = {};
    std::string_view value = {};  // as the usage names it ("Y"); empty for a switch
    std::string_view help = {};
    unsigned forms = 0;         // the forms it belongs to; 0 for a form of its own
    bool required = false;      // in those forms
    std::string_view excludes = {};  // the option it cannot go with, shown beside it: [--east | --west]
    bool placeField = false;    // a value a batch file's row gives instead
    void (*apply)(Given& given, const std::string& value) = nullptr;
};

const OptionRow kOptionRows[] = {
    {.name = "--year", .value = "Y", .help = "the year, 1 to 32767", .forms = kOnePlace | kBatchForm,
     .required = true, .apply = [](Given& g, const std::string& v) { g.o.year = v; }},
    {.name = "--town", .value = "NAME", .help = "the town: the file's name and the title", .forms = kOnePlace,
     .required = true, .placeField = true, .apply = [](Given& g, const std::string& v) { g.o.town = v; }},
    {.name = "--longitude", .value = "TEXT", .help = "the longitude, positive", .forms = kOnePlace,
     .required = true, .placeField = true, .apply = [](Given& g, const std::string& v) { g.o.longitude = v; }},
    {.name = "--latitude", .value = "TEXT", .help = "the latitude, positive", .forms = kOnePlace,
     .required = true, .placeField = true, .apply = [](Given& g, const std::string& v) { g.o.latitude = v; }},
    {.name = "--east", .help = "the longitude is east of Greenwich", .forms = kOnePlace, .excludes = "--west",
     .placeField = true, .apply = [](Given& g, const std::string&) { g.o.west = false; }},
    {.name = "--west", .help = "the longitude is west of Greenwich (the default)", .forms = kOnePlace,
     .placeField = true, .apply = [](Given&, const std::string&) {}},
    {.name = "--north", .help = "the latitude is north of the equator (the default)", .forms = kOnePlace,
     .excludes = "--south", .placeField = true, .apply = [](Given&, const std::string&) {}},
    {.name = "--south", .help = "the latitude is south of the equator", .forms = kOnePlace, .placeField = true,
     .apply = [](Given& g, const std::string&) { g.o.south = true; }},
    {.name = "--ten-mode", .help = "coordinates in decimal degrees", .forms = kOnePlace | kBatchForm,
     .excludes = "--sixty-mode", .apply = [](Given& g, const std::string&) { g.o.sixtyMode = false; }},
    {.name = "--sixty-mode", .help = "coordinates as degrees, minutes, seconds (default)",
     .forms = kOnePlace | kBatchForm, .apply = [](Given&, const std::string&) {}},
    {.name = "--zone", .value = "TEXT", .help = "hours the zone is ahead of Greenwich (default 0)",
     .forms = kOnePlace, .placeField = true, .apply = [](Given& g, const std::string& v) { g.o.zone = v; }},
    {.name = "--summer-time", .help = "summer time from the last Sunday of March to October",
     .forms = kOnePlace | kBatchForm, .apply = [](Given& g, const std::string&) { g.o.summerTime = true; }},
    {.name = "--rtf", .help = "the RTF document, as --format rtf", .forms = kOnePlace | kBatchForm,
     .apply = [](Given& g, const std::string&) { g.o.format = &RtfDocumentFormat(); }},
    {.name = "--out", .value = "DIR", .help = "the folder to write into (default: the current one)",
     .forms = kOnePlace | kBatchForm, .apply = [](Given& g, const std::string& v) { g.o.outFolder = v; }},
    {.name = "--today", .value = "YYYY-MM-DD", .help = "the date of the today line and of the stamps",
     .forms = kOnePlace | kBatchForm, .apply = [](Given& g, const std::string& v) { g.today = v; }},
    {.name = "--batch", .value = "FILE", .help = "the places of a CSV file", .forms = kBatchForm,
     .required = true, .apply = [](Given& g, const std::string& v) { g.o.batchFile = v; }},
    {.name = "--format", .value = "FORMAT", .help = "the file's format (below)", .forms = kOnePlace | kBatchForm,
     .apply = [](Given& g, const std::string& v) { g.format = v; }},
    {.name = "--time-zone", .value = "AREA/LOCATION", .help = "the civil time of an IANA time zone",
     .forms = kOnePlace, .placeField = true, .apply = [](Given& g, const std::string& v) { g.o.timeZone = v; }},
    {.name = "--remind", .value = "MINUTES", .help = "an alarm MINUTES before each event",
     .forms = kOnePlace | kBatchForm, .apply = [](Given& g, const std::string& v) { g.remind = v; }},
    {.name = "--paper", .value = "a4|letter", .help = "the paper of a PDF (default a4)",
     .forms = kOnePlace | kBatchForm, .apply = [](Given& g, const std::string& v) { g.paper = v; }},
    {.name = "--find", .value = "QUERY", .help = "list the places that match",
     .apply = [](Given& g, const std::string& v) { g.o.find = v; }},
    {.name = "--place", .value = "QUERY", .help = "the place of the best match",
     .apply = [](Given& g, const std::string& v) { g.o.place = v; }},
};

const OptionRow* FindOption(std::string_view name) {
    for (const OptionRow& row : kOptionRows)
        if (row.name == name) return &row;
    return nullptr;
}

// "--year Y", "--east".
std::string Named(const OptionRow& row) {
    return std::string(row.name) + (row.value.empty() ? "" : " " + std::string(row.value));
}

// Whether an earlier row shows this one beside itself.
bool ShownBeside(const OptionRow& row) {
    return std::any_of(std::begin(kOptionRows), std::end(kOptionRows),
                       [&](const OptionRow& other) { return other.excludes == row.name; });
}

// One form of the command line: the program, then the items, wrapped under
// the first item.
std::string FormLine(std::string_view opening, const std::vector<std::string>& items) {
    constexpr size_t kWidth = 79;
    const std::string indent(opening.size() + 1, ' ');
    std::string lines, line(opening);
    for (const std::string& item : items) {
        if (line.size() + 1 + item.size() > kWidth && line.size() > indent.size()) {
            lines += line + "\n";
            line = indent.substr(1);
        }
        line += " " + item;
    }
    return lines + line + "\n";
}

// The options of a form: the required ones, then the others in brackets,
// each with the option it excludes.
std::vector<std::string> FormItems(unsigned form) {
    std::vector<std::string> items;
    for (bool required : {true, false}) {
        for (const OptionRow& row : kOptionRows) {
            if (!(row.forms & form) || row.required != required || ShownBeside(row)) continue;
            std::string item = Named(row);
            if (!row.excludes.empty()) item += " | " + Named(*FindOption(row.excludes));
            items.push_back(required ? item : "[" + item + "]");
        }
    }
    return items;
}

std::string Synopsis() {
    const std::string name = "kelmorven-table";
    std::string text = FormLine("usage: " + name, FormItems(kOnePlace));
    text += FormLine("       " + name, FormItems(kBatchForm));
    text += FormLine("       " + name, {Named(*FindOption("--year")), Named(*FindOption("--place")),
                                       "[any option of the first form]"});
    text += FormLine("       " + name, {Named(*FindOption("--find"))});
    return text + FormLine("       " + name, {"--help | --version"});
}

// Every option with its line of help.
std::string OptionList() {
    std::string text = "\nOptions:\n";
    for (const OptionRow& row : kOptionRows) {
        std::string line = "  " + Named(row);
        line.resize(std::max<size_t>(line.size() + 1, 28), ' ');
        text += line + std::string(row.help) + "\n";
    }
    return text;
}

// What the options mean together, up to the formats.
std::string Description() {
    return "Writes the sunrise and sunset timetable of one place for the year Y into DIR "
           "(default: the current folder) as TOWN.TXT, or as TOWN.WRI (RTF) with --rtf. "
           "Defaults: --west, --north, --sixty-mode, --zone 0, no summer time. "
           "Coordinates are positive: 9.1030 means 9 degrees 10' 30'' in 60-mode, "
           "9.175 degrees in 10-mode; the sides are chosen with the options.";
}

constexpr const char* kBatchFileText =
    "FILE is a CSV file whose first line is\n"
    "    town,longitude,latitude,east_west,north_south,zone\n";

std::string PlacesText() {
    return "with one place per line (sides as east/west and north/south), and "
           "optionally a seventh column time_zone; or whose first line is place "
           "(or place,town) with one place by name per line, as --place takes it. "
           "QUERY is a town's name or its beginning, optionally with a country after "
           "a comma (\"Frankfurt, DE\"). --find lists the best 20 matches: name, "
           "country, latitude, longitude, time zone, population. --place takes the "
           "best match's town, coordinates (10-mode unless --sixty-mode) and sides, "
           "and for the documents its zone and summer time, for " +
           FormatWords(TakesTimeZone, ", ", " and ") +
           " its time zone; options given as well override them. Places come from "
           "DatenE/Places.tsv and DatenE/OwnPlaces.csv beside the program.";
}

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

// The formats' sentences, from the table of formats: each word with its
// file, the civil time from the needs, the reminders, and the help of the
// formats whose needs do not say what they hold.
std::string FormatsSentence() {
    std::string sentence = "FORMAT is";
    std::string described;
    const std::span<const OutputFormat> formats = OutputFormats();
    for (size_t i = 0; i < formats.size(); ++i) {
        const OutputFormat& f = formats[i];
        sentence += std::string(i == 0 ? " " : i + 1 == formats.size() ? " or " : ", ") + std::string(f.word) + " (TOWN" +
                    std::string(f.ending) + (i == 0 ? ", the default" : "") + (&f == &RtfDocumentFormat() ? ", as --rtf" : "") + ")";
        if (!f.help.empty())
            described += (described.empty() ? " " : "; ") + std::string(f.word) + " is " + std::string(f.help);
    }
    return sentence + ". " + FormatWords(TakesTimeZone, ", ", ", ") +
           " give the moments in full, in the civil time of --zone and --summer-time, or of "
           "--time-zone (an IANA zone such as Europe/Oslo; not for the documents). --remind adds an alarm MINUTES "
           "before each event (" + FormatWords(CarriesReminders) + ")." + described + ".";
}

}  // namespace

std::string TableUsage() {
    return Synopsis() + "\n" + Wrapped(Description()) + kBatchFileText + Wrapped(PlacesText()) +
           Wrapped(FormatsSentence()) + OptionList() + "\n" + kUsageClosing;
}

namespace {

bool AllDigits(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The longest reminder: a week.
constexpr int kLongestReminder = 7 * 24 * 60;

// Each argument through its row; the first error in one line.
std::string ReadArguments(const std::vector<std::string>& arguments, Given& given) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        const OptionRow* row = FindOption(name);
        if (!row) return name.rfind("--", 0) == 0 ? "unknown option " + name : "unexpected argument \"" + name + "\"";
        if (!given.o.given.insert(name).second) return name + " is given twice";
        // The next argument is the value whatever it looks like: a zone may be -3.5.
        if (!row->value.empty() && i + 1 == arguments.size()) return name + " needs a value";
        row->apply(given, !row->value.empty() ? arguments[++i] : std::string());
    }
    return "";
}

std::string CheckExclusions(Given& g) {
    for (const OptionRow& row : kOptionRows)
        if (!row.excludes.empty() && g.Has(row.name) && g.Has(row.excludes))
            return std::string(row.name) + " and " + std::string(row.excludes) + " exclude each other";
    return "";
}

std::string CheckYear(Given& g) {
    if (!g.Has("--year")) return "--year is missing";
    if (!AllDigits(g.o.year)) return "--year takes digits only, not \"" + g.o.year + "\"";
    return "";
}

std::string CheckPlaceSource(Given& g) {
    if (g.o.batchFile) {
        for (const OptionRow& row : kOptionRows)
            if (row.placeField && g.Has(row.name))
                return std::string(row.name) + " does not go with --batch: the file gives the places";
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
    if (!g.o.format->needs.reminders) return "--remind goes with --format " + FormatWords(CarriesReminders);
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
    return DateValue(std::chrono::local_days(date));
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
