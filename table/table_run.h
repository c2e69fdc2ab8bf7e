// kelmorven-table: timetables from the command line, through the same input
// checks, year run and writers as the window program, without pauses, tones
// or windows.
#pragma once

#include "calc/year_result.h"
#include "documents/output_formats.h"
#include "input/settings.h"
#include "table/table_options.h"

#include "files/text_file.h"

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// Exit statuses.
inline constexpr int kTableWritten = 0;
inline constexpr int kTableRefused = 2;      // an input (or a batch row) was refused
inline constexpr int kTableUnwritable = 3;   // a document could not be written
inline constexpr int kTableReportLost = 4;   // every document written, but not the report on standard output
inline constexpr int kTableUsageError = 64;  // the options themselves are wrong
// A batch file that cannot be read, or no place found by --find: what the
// options name is not there. The same status as a usage error.
inline constexpr int kTableInputMissing = kTableUsageError;

// One place as typed (UTF-8), with its sides.
struct TablePlace {
    std::string town, longitude, latitude, zone;
    bool west = true;
    bool south = false;
    std::string timeZone;  // an IANA time zone for the data formats; empty: zone and summer-time rule
    std::string country;   // of a place taken by name, for the printed title; empty for a typed place
    std::string name;      // the full name of a place taken by name whose town is not typed, for the
                           // printed title; empty otherwise
};

// What the printed title names of place.
inline PrintedPlace PrintedPlaceOf(const TablePlace& place) { return {place.name, place.country}; }

// The window's input for one place: the texts in code page 1252, the town
// in capitals as the town field makes them.
InputSnapshot TableSnapshot(const TableOptions& options, const TablePlace& place);

// Checks one place with the options and calculates its year: by the zone
// and summer-time rule, or in the civil time of the place's time zone. A
// refusal prints the message's title and text on err, each line after
// prefix, and gives nothing.
std::optional<YearResult> CalculatePlace(const TableOptions& options, const TablePlace& place, std::ostream& err,
                                         const std::string& prefix = "");

// Checks one place with the options, runs its year and writes its document
// into the out folder. Success prints the path written and the today line
// on out; a refusal prints the message's title and text on err, each line
// after prefix. Returns the exit status of the place.
int MakeTimetable(const TableOptions& options, const TablePlace& place, DateValue today, std::ostream& out,
                  std::ostream& err, const std::string& prefix = "");

// The whole tool: arguments after the program name, output as UTF-8. When
// the report cannot be written to out, that is said once on err at the end
// and the status is kTableReportLost unless another failure came first.
// Places by name come from the data folder.
int RunTableTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                 const std::filesystem::path& dataFolder = ProgramFolder() / "DatenE");
