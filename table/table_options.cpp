#include "table/table_options.h"

#include <algorithm>
#include <set>

const char* const kTableUsage =
    "usage: kelmorven-table --year Y --town NAME --longitude TEXT --latitude TEXT\n"
    "                       [--east | --west] [--north | --south] [--ten-mode | --sixty-mode]\n"
    "                       [--zone TEXT] [--summer-time] [--rtf] [--out DIR]\n"
    "                       [--today YYYY-MM-DD] [--format FORMAT] [--time-zone AREA/LOCATION]\n"
    "                       [--remind MINUTES]\n"
    "       kelmorven-table --year Y --batch FILE [--ten-mode | --sixty-mode]\n"
    "                       [--summer-time] [--rtf] [--out DIR] [--today YYYY-MM-DD]\n"
    "                       [--format FORMAT] [--remind MINUTES]\n"
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
    "DatenE/Places.tsv and DatenE/OwnPlaces.csv beside the program.\n"
    "FORMAT is txt (default), rtf (same as --rtf), csv, json or ics (TOWN.csv,\n"
    "TOWN.json, TOWN.ics): the moments in full, in the civil time of --zone and\n"
    "--summer-time, or of --time-zone (an IANA zone such as Europe/Oslo; not\n"
    "for the documents). --remind adds an alarm MINUTES before each event.\n"
    "Exit status: 0 written, 2 input refused, 3 document not writable,\n"
    "4 report not writable to standard output, 64 error in the options,\n"
    "unreadable FILE or no place found by --find.\n";

namespace {

bool AllDigits(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

const std::set<std::string> kFlags = {"--east",     "--west",        "--north", "--south",
                                      "--ten-mode", "--sixty-mode",  "--rtf",   "--summer-time"};
const std::set<std::string> kValued = {"--year", "--town", "--longitude", "--latitude",
                                       "--zone", "--out",  "--today",     "--batch",
                                       "--format", "--time-zone", "--remind", "--find",
                                       "--place"};
// The longest reminder: a week.
constexpr int kLongestReminder = 7 * 24 * 60;
// What a CSV row gives instead.
const char* const kPlaceOptions[] = {"--town",  "--longitude", "--latitude", "--east",
                                     "--west",  "--north",     "--south",    "--zone",
                                     "--time-zone"};

}  // namespace

std::optional<DateValue> ParseIsoDate(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    std::string y = text.substr(0, 4), m = text.substr(5, 2), d = text.substr(8, 2);
    if (!AllDigits(y) || !AllDigits(m) || !AllDigits(d)) return std::nullopt;
    int year = std::stoi(y), month = std::stoi(m), day = std::stoi(d);
    if (month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
    DateValue date = MakeDate(year, month, day);
    DateParts parts = DatePartsOf(date);  // 31 April comes back as 1 May
    if (parts.year != year || parts.month != month || parts.day != day) return std::nullopt;
    return date;
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
    auto fail = [&parsed](std::string error) {
        parsed.error = std::move(error);
        return parsed;
    };

    std::set<std::string> seen;
    std::optional<std::string> todayText, formatText, remindText;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (!kFlags.count(name) && !kValued.count(name)) {
            if (name.rfind("--", 0) == 0) return fail("unknown option " + name);
            return fail("unexpected argument \"" + name + "\"");
        }
        if (!seen.insert(name).second) return fail(name + " is given twice");
        if (kFlags.count(name)) {
            if (name == "--east") o.west = false;
            if (name == "--south") o.south = true;
            if (name == "--ten-mode") o.sixtyMode = false;
            if (name == "--summer-time") o.summerTime = true;
            if (name == "--rtf") o.format = TableFormat::Rtf;
            continue;
        }
        // The next argument is the value whatever it looks like: a zone may be -3.5.
        if (i + 1 == arguments.size()) return fail(name + " needs a value");
        const std::string& value = arguments[++i];
        if (name == "--year") o.year = value;
        if (name == "--town") o.town = value;
        if (name == "--longitude") o.longitude = value;
        if (name == "--latitude") o.latitude = value;
        if (name == "--zone") o.zone = value;
        if (name == "--out") o.outFolder = value;
        if (name == "--today") todayText = value;
        if (name == "--batch") o.batchFile = value;
        if (name == "--format") formatText = value;
        if (name == "--time-zone") o.timeZone = value;
        if (name == "--remind") remindText = value;
        if (name == "--find") o.find = value;
        if (name == "--place") o.place = value;
    }
    o.given = seen;
    if (o.find) {
        if (seen.size() > 1) return fail("--find goes alone");
        return parsed;
    }

    for (auto [one, other] : {std::pair{"--east", "--west"}, std::pair{"--north", "--south"},
                              std::pair{"--ten-mode", "--sixty-mode"}}) {
        if (seen.count(one) && seen.count(other)) return fail(std::string(one) + " and " + other + " exclude each other");
    }
    if (!seen.count("--year")) return fail("--year is missing");
    if (!AllDigits(o.year)) return fail("--year takes digits only, not \"" + o.year + "\"");
    if (o.batchFile) {
        for (const char* place : kPlaceOptions)
            if (seen.count(place)) return fail(std::string(place) + " does not go with --batch: the file gives the places");
        if (o.place) return fail("--place does not go with --batch: the file gives the places");
    } else if (!o.place) {
        for (const char* required : {"--town", "--longitude", "--latitude"})
            if (!seen.count(required)) return fail(std::string(required) + " is missing");
    }
    if (o.outFolder.empty()) return fail("--out needs a folder");
    if (formatText) {
        std::optional<TableFormat> format = ParseTableFormat(*formatText);
        if (!format) return fail("--format takes txt, rtf, csv, json or ics, not \"" + *formatText + "\"");
        if (seen.count("--rtf") && *format != TableFormat::Rtf)
            return fail("--rtf and --format " + *formatText + " exclude each other");
        o.format = *format;
    }
    for (const char* zoneOption : {"--zone", "--summer-time"})
        if (o.timeZone && seen.count(zoneOption))
            return fail(std::string(zoneOption) + " does not go with --time-zone: the time zone gives the offset and the summer time");
    if (remindText) {
        if (o.format != TableFormat::Ics) return fail("--remind goes with --format ics");
        if (remindText->empty() || remindText->size() > 5 || !AllDigits(*remindText) || std::stoi(*remindText) > kLongestReminder)
            return fail("--remind takes whole minutes from 0 to " + std::to_string(kLongestReminder) + ", not \"" + *remindText + "\"");
        o.remindMinutes = std::stoi(*remindText);
    }
    // libical holds date-times up to the year 3000; a year's last sunset may fall on the next.
    if (o.format == TableFormat::Ics && !o.year.empty() && (o.year.size() > 4 || std::stoi(o.year) > 2999))
        return fail("--format ics takes a year up to 2999");
    // ISO dates, as CSV and JSON write them, have four digits of year.
    const bool isoDates = o.format == TableFormat::Csv || o.format == TableFormat::Json;
    const size_t firstDigit = std::min(o.year.find_first_not_of('0'), o.year.size());
    if (isoDates && o.year.size() - firstDigit > 4)
        return fail("--format " + *formatText + " takes a year up to 9999");
    if (todayText) {
        o.today = ParseIsoDate(*todayText);
        if (!o.today) return fail("--today takes a date YYYY-MM-DD, not \"" + *todayText + "\"");
    }
    return parsed;
}
