// The texts of dates and moments in the data files: ISO 8601 dates and
// local date-times with their UTC offsets.
#pragma once

#include "documents/civil_moments.h"

#include <chrono>
#include <cstdint>
#include <string>

// "2026-01-01": the year in at least four digits, '-' before a negative one.
std::string DateText(int year, int month, int day);

// The offset of a clock ahead of UTC: "+01:00", "-03:30", "+00:00"; an
// offset of a fraction of a minute (local mean times before zones existed)
// gets its seconds, "+00:53:28".
std::string OffsetText(int32_t seconds);

// The local date and time of the clock value local (seconds since
// 1970-01-01 00:00) with the offset: "2026-01-01T08:19:58+01:00".
std::string LocalTimeText(std::chrono::local_seconds local, int32_t offset);

// A moment as the CSV and JSON give it: its local time, or "above" when the
// Sun stays above the altitude, "below" when it stays below.
std::string MomentText(const CivilMoment& moment);

// The date of a civil day, "2026-01-01".
std::string DateText(const CivilDay& day);
