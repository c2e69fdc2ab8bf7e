// The command line of kelmorven-table.
#pragma once

#include "documents/output_formats.h"
#include "text/dates.h"

#include <optional>
#include <set>
#include <string>
#include <vector>

// The usage text printed by --help and after an error in the options; its
// formats come from the table of formats.
std::string TableUsage();

// The options as given; the defaults are those of a fresh main window.
// Texts are as typed (UTF-8); --year holds digits only.
struct TableOptions {
    std::string year;
    std::optional<std::string> town;
    std::optional<std::string> longitude;
    std::optional<std::string> latitude;
    bool west = true;
    bool south = false;
    bool sixtyMode = true;
    std::string zone = "0";
    bool summerTime = false;
    const OutputFormat* format = &TextDocumentFormat();  // --format FORMAT; --rtf is --format rtf
    std::optional<std::string> timeZone;  // --time-zone AREA/LOCATION instead of --zone and --summer-time
    std::optional<int> remindMinutes;     // --remind MINUTES, with --format ics
    std::string outFolder = ".";
    std::optional<DateValue> today;  // the system date when absent
    std::optional<std::string> batchFile;
    std::optional<std::string> find;   // --find QUERY: list the places that match
    std::optional<std::string> place;  // --place QUERY: the best match gives the place
    std::set<std::string> given;       // the options named, as "--zone": what overrides a place's values
    bool help = false;
    bool version = false;
};

struct ParsedOptions {
    TableOptions options;
    std::string error;  // one line; empty when the options are sound
};

// Reads the arguments after the program name. --help, then --version,
// anywhere wins over any error.
ParsedOptions ParseTableOptions(const std::vector<std::string>& arguments);

// A date "YYYY-MM-DD" of the Gregorian calendar, as a date value at
// midnight; nothing when the text is no such date.
std::optional<DateValue> ParseIsoDate(const std::string& text);
