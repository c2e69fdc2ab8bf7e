// Places by name in kelmorven-table: --find lists them, --place and a batch
// file's place column take the best match as the place of a timetable.
#pragma once

#include "places/gazetteer.h"
#include "table/table_options.h"
#include "table/table_run.h"

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

// The most places --find lists.
inline constexpr std::size_t kPlacesListed = 20;

// The gazetteer of the data folder (Places.tsv, OwnPlaces.csv); what is
// wrong with its files is said on err, once.
Gazetteer LoadToolGazetteer(const std::filesystem::path& dataFolder, std::ostream& err);

// --find: the best matches on out, one a line, tab-separated: name, country
// code, latitude and longitude (signed degrees, 4 decimals), time zone,
// population, region (empty when unknown); close spellings under a line that
// says so. kTableWritten with a match; kTableUsageError and one line on err
// without.
int ListPlaces(const Gazetteer& gazetteer, const std::string& query, std::ostream& out, std::ostream& err);

// A place taken by name, ready for the timetable.
struct PlaceChoice {
    TableOptions options;  // the run's options with this place's mode and summer time
    TablePlace place;
    std::string report;    // what was taken, and how to narrow an ambiguous query: lines for out
    std::string refusal;   // one line when nothing matches; the rest is then unset
};

// The best match of query (or the place of a GeoNames id, all digits) as
// --place takes it, never a close spelling: its town (or town, when a
// batch row names one), coordinates, sides and time basis, each unless the
// options give it.
PlaceChoice ChoosePlace(const Gazetteer& gazetteer, const std::string& query, const TableOptions& options,
                        const std::string& town = "");
