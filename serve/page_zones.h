// The IANA zones a place by coordinates can be given, from the system's
// time-zone database, read once at start.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// The zone names of folder's tzdata.zi (its "Z" lines: the zones proper, no
// links), sorted; empty when the file cannot be read.
std::vector<std::string> ReadZoneNames(const std::filesystem::path& folder);
