// The year's moments as data: CSV, JSON and iCalendar texts, UTF-8, every
// line ended by CR LF.
#pragma once

#include "input/settings.h"
#include "documents/civil_moments.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What a data file describes.
struct DataYear {
    const TimetableSettings& settings;
    std::string timeZone;          // the zone's name, or empty for the zone and summer-time rule
    std::vector<CivilDay> days;    // every date of the year as the zone lived it, in order
    int16_t springDay = 0, autumnDay = 0;  // the summer-time period of the rule (March, October)
};

// The first line of the CSV.
inline constexpr const char* kCsvHeader = "date,sunrise,sunset";

// CSV (RFC 4180): the header, then one line per day: date, sunrise, sunset,
// each moment as MomentText.
std::vector<std::string> CsvLines(const DataYear& year);

// One JSON object: place, year, time basis, altitude and days (the schema is
// in the README), two blanks of indent per level, one line per member.
std::vector<std::string> JsonLines(const DataYear& year);

struct CalendarOptions {
    std::chrono::sys_seconds stamp{};   // DTSTAMP, an instant
    std::optional<int> remindMinutes;   // a display alarm that many minutes before each moment
};

// iCalendar (RFC 5545): one VEVENT per moment that happens, starting in UTC,
// one minute long, SUMMARY "KELMORVEN SR TOWN" or "KELMORVEN SS TOWN", the
// local time in DESCRIPTION, a UID made of the date, the event and the place
// (town and coordinates), so a recalculated year replaces its events.
// Throws std::bad_alloc when libical runs out of memory.
std::vector<std::string> IcsLines(const DataYear& year, const CalendarOptions& options);

// The UID of the event ("SR" or "SS") of a date at a place: "20260101-SR-"
// and the 16 hexadecimal digits of place, then "@kelmorven";
// "19690930-2-SR-..." for the second time the zone lived the date.
std::string EventUid(std::uint64_t place, const CivilDay& day, const char* event);
// A stable hash of the town and the coordinates of settings, made once for
// all the events of a calendar.
std::uint64_t PlaceHash(const TimetableSettings& settings);
