// A time zone of a time-zone database folder (by default the system's,
// /usr/share/zoneinfo, or the folder TZDIR names), read through abseil's
// time-zone library: the civil time of a place with its offsets and summer
// time as they were or are in each year, after a zone file's last listed
// change by the rule at its end.
#pragma once

#include <absl/time/time.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class CivilTimeZone {
public:
    struct Lookup;
    // The zone of an IANA name such as "Europe/Oslo" in the database folder;
    // no zone, with the reason in one line, when the folder has no such zone
    // or cannot be read. A name is a path inside the folder and never leads
    // out of it: no "..", no absolute path, no link to a file elsewhere. A
    // file larger than any zone's, or whose header counts more than the
    // file holds, is no zone either: it is refused before it is parsed.
    static Lookup Find(const std::string& name);
    static Lookup Find(const std::string& name, const std::filesystem::path& folder);

    // The system's database folder: TZDIR when set, else /usr/share/zoneinfo.
    static std::filesystem::path SystemFolder();

    // Seconds by which the zone's standard time is ahead of UTC on a civil
    // date (proleptic Gregorian), taken at the date's local noon: the offset
    // of the nearest period without summer time. Zones whose summer time is
    // their standard (negative summer time, as Europe/Dublin) take the
    // period the database marks as standard.
    int32_t StandardOffset(int year, int month, int day) const;

    // The standard offsets of each time a civil date is lived, in order:
    // none for a date the zone skipped (moving its clock a whole day
    // ahead), two for a date it lived twice (moving it a day back), else
    // the one of StandardOffset.
    std::vector<int32_t> StandardOffsetsOfDate(int year, int month, int day) const;

    // Seconds by which the zone's civil clock is ahead of UTC at the instant
    // utc, seconds since 1970-01-01 00:00 UTC.
    int32_t OffsetAt(int64_t utc) const;

    // Whether the database marks the zone's clock at the instant utc as
    // daylight-saving time; Morocco's Ramadan weeks, behind its standard
    // time, are marked too.
    bool DaylightAt(int64_t utc) const;

private:
    int32_t StandardOffsetAt(absl::Time instant) const;

    explicit CivilTimeZone(absl::TimeZone zone) : zone_(zone) {}

    absl::TimeZone zone_;  // a handle; the library keeps the loaded zone to the end
};

struct CivilTimeZone::Lookup {
    std::optional<CivilTimeZone> zone;
    std::string error;  // empty when the zone was found
};
