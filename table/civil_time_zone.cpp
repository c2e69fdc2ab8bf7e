#include "table/civil_time_zone.h"

#include <date/tz.h>

#include <chrono>
#include <exception>

namespace {

using Seconds = std::chrono::seconds;

// Periods looked at on each side before giving up on finding standard time.
constexpr int kPeriodsSearched = 8;

}  // namespace

CivilTimeZone::Lookup CivilTimeZone::Find(const std::string& name) {
    try {
        date::get_tzdb();
    } catch (const std::exception& failure) {
        return {std::nullopt, "the time-zone database cannot be read: " + std::string(failure.what())};
    }
    try {
        return {CivilTimeZone(date::locate_zone(name), name), ""};  // a zone or a link to one
    } catch (const std::exception&) {
        return {std::nullopt, "no time zone \"" + name +
                                  "\" in the time-zone database (an area and a location, such as Europe/Oslo)"};
    }
}

int32_t CivilTimeZone::StandardOffset(int year, int month, int day) const {
    const date::local_seconds noon =
        date::local_days{date::year{year} / month / day} + std::chrono::hours{12};
    const date::sys_info here = zone_->get_info(noon).first;
    // The system's database marks a period as summer time or not, without
    // its size: the standard offset is that of the nearest unmarked period,
    // looking back first, then ahead.
    if (here.save == std::chrono::minutes{0}) return static_cast<int32_t>(here.offset.count());
    date::sys_info before = here, after = here;
    for (int i = 0; i < kPeriodsSearched; ++i) {
        before = zone_->get_info(before.begin - Seconds{1});
        if (before.save == std::chrono::minutes{0}) return static_cast<int32_t>(before.offset.count());
        after = zone_->get_info(after.end);
        if (after.save == std::chrono::minutes{0}) return static_cast<int32_t>(after.offset.count());
    }
    return static_cast<int32_t>(here.offset.count());
}

int32_t CivilTimeZone::OffsetAt(int64_t utc) const {
    return static_cast<int32_t>(zone_->get_info(date::sys_seconds{Seconds{utc}}).offset.count());
}
