// The program record of kelmorven-serve: what it read at start and what
// its requests share. Read-only after start but for the cache and the
// printing lock, which guard themselves.
#pragma once

#include "documents/print_back_end.h"
#include "places/gazetteer.h"
#include "serve/result_cache.h"
#include "serve/serve_options.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

// The rendered answers kept: at most this many bytes, so that the memory
// stays flat however many places are asked for.
inline constexpr std::size_t kCacheBytes = 24u << 20;

struct ServeProgram {
    ServeOptions options;
    Gazetteer gazetteer;
    // The zones of the database's list (tzdata.zi): a request's zone is
    // looked up only when it is one of them, so no part of a request names
    // a file. Empty when the list cannot be read: then every zone is looked
    // up, as the batch tool does, inside the database folder.
    std::set<std::string> zoneNames;
    std::optional<int64_t> sourceDateEpoch;  // SOURCE_DATE_EPOCH, checked at start
    std::string baseUrl;                     // without its last '/'
    ResultCache cache{kCacheBytes};
    std::atomic<uint64_t> renders{0};  // answers made, not found in the cache
    // The printing back end, opened and started in the thread that builds
    // the record; its documents are painted one at a time (printingLock).
    PrintBackEnd printing;
    std::mutex printingLock;
};

// Reads the data folder (Places.tsv, OwnPlaces.csv) and the zone list into
// program; what is wrong with its files is said on err, once. The
// SOURCE_DATE_EPOCH is checked as the batch tool checks it: a wrong one is
// an error (one line, returned) and the program does not start.
std::string LoadServeData(ServeProgram& program, const std::filesystem::path& dataFolder, std::ostream& err);

// Today's date at 00:00 (UTC), as --today or the clock gives it.
int64_t ServiceToday(const ServeProgram& program);

// The zone names the list in folder holds (its Z and L lines); empty when
// there is none.
std::set<std::string> ReadZoneNames(const std::filesystem::path& folder);
