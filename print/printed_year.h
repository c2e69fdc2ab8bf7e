// The year as it is printed: what the PDF timetable and the year chart
// draw, in plain C++ so that a caller needs no toolkit to describe it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One moment of a date on the place's civil clock.
struct PrintedMoment {
    enum class Kind { Time, Above, Below };  // a time; the Sun stays above; it stays below
    Kind kind = Kind::Time;
    // Seconds after the date's local midnight. A sunset after midnight lies
    // beyond 86400, a sunrise the evening before below 0: the clock then
    // shows the time of the neighbouring date.
    int32_t seconds = 0;
};

struct PrintedDay {
    int month = 0, day = 0;
    bool summerTime = false;  // the clock is ahead of the place's standard time
    PrintedMoment sunrise, sunset;
};

struct PrintedYear {
    std::string title;       // the town, its country when known, the coordinates, the year (UTF-8)
    std::string timeBasis;   // the zone and summer time, or the time zone's name
    std::string definition;  // what the two moments are, in one line
    // The dates that the clock shows, in order. A date missing here (30
    // February, or one a time zone skipped) is left blank.
    std::vector<PrintedDay> days;
    int64_t created = 0;  // the document's creation time, seconds since 1970-01-01 00:00 UTC
};

// The clock text of a moment: "08:19:58" (of the neighbouring date for a
// time beyond the date's midnights), "*****" above, "-----" below.
std::string PrintedMomentText(const PrintedMoment& moment);
