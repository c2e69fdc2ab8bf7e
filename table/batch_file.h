// The CSV file of places for kelmorven-table --batch.
#pragma once

#include <string>
#include <vector>

// The header line the file must begin with.
inline constexpr const char* kBatchHeader = "town,longitude,latitude,east_west,north_south,zone";
// The same with a seventh column, a time zone per place for the data formats.
inline constexpr const char* kBatchHeaderWithTimeZone =
    "town,longitude,latitude,east_west,north_south,zone,time_zone";

// One place, its texts as in the file (UTF-8).
struct BatchPlace {
    int line = 0;  // 1-based line number in the file
    std::string town, longitude, latitude, zone;
    std::string timeZone;  // the time_zone column, empty when absent; the zone is then empty too
    bool west = true;    // an empty side is the default: west, north
    bool south = false;
    std::string error;   // why the row cannot be read; empty when it can
};

struct BatchFile {
    std::string error;  // the file cannot be read or lacks its header
    std::vector<BatchPlace> places;
};

// Splits the text into places: after the header one place per line, fields
// separated by commas, a field in double quotes may hold commas and "" for a
// quote. Blank lines are skipped; a UTF-8 byte-order mark and CR LF line
// ends are accepted. Fields are kept exactly, except the sides, which are
// read without regard to blanks around them or to letter case.
BatchFile ParseBatchText(const std::string& text);

BatchFile ReadBatchFile(const std::string& path);
