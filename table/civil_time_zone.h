// A time zone of the system's time-zone database (/usr/share/zoneinfo),
// read through the date/tz library: the civil time of a place with its
// offsets and summer time as they were or are in each year.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace date {
class time_zone;
}

class CivilTimeZone {
public:
    struct Lookup;
    // The zone of an IANA name such as "Europe/Oslo"; no zone, with the
    // reason in one line, when the database has no such zone or cannot be
    // read.
    static Lookup Find(const std::string& name);

    const std::string& Name() const { return name_; }

    // Seconds by which the zone's standard time is ahead of UTC on a civil
    // date (proleptic Gregorian), taken at the date's local noon: the offset
    // of the nearest period without summer time. Zones whose summer time is
    // their standard (negative summer time, as Europe/Dublin) take the
    // period the database marks as standard.
    int32_t StandardOffset(int year, int month, int day) const;

    // Seconds by which the zone's civil clock is ahead of UTC at the instant
    // utc, seconds since 1970-01-01 00:00 UTC.
    int32_t OffsetAt(int64_t utc) const;

private:
    CivilTimeZone(const date::time_zone* zone, std::string name) : zone_(zone), name_(std::move(name)) {}

    const date::time_zone* zone_;  // owned by the library's database, which lives to the end
    std::string name_;
};

struct CivilTimeZone::Lookup {
    std::optional<CivilTimeZone> zone;
    std::string error;  // empty when the zone was found
};
