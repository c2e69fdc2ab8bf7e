// The year as it is printed: what the PDF timetable and the year chart
// draw, in plain C++ so that a caller needs no toolkit to describe it.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

// English month names, January first.
inline constexpr const char* kMonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                                "July",    "August",   "September", "October", "November", "December"};

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
    // Shaded: the zone marks the date's clock as daylight-saving time (for
    // the documents' rule, the days of its summer-time period).
    bool summerTime = false;
    PrintedMoment sunrise, sunset;
    int weekday = 0;  // 0 Sunday, 1 Monday, ... 6 Saturday
};

// The sheet the PDF is printed on, landscape.
enum class PrintedPaper { A4, Letter };

struct PrintedYear {
    std::string title;       // the town, its country when known, the coordinates, the year (UTF-8)
    std::string timeBasis;   // the UTC offsets and the dates they change, or the zone and summer time
    std::string definition;  // what the two moments are, in one line
    std::string summerKey;   // what the shading means here, for the legend
    // The lines at the foot of each page: the program and its version, the
    // place's source, the accuracy, how published times differ. The page
    // number is added to them.
    std::vector<std::string> footer;
    // The dates that the clock shows, in order. A date missing here (30
    // February, or one a time zone skipped) is left blank; a date lived
    // twice is here twice, the first time first.
    std::vector<PrintedDay> days;
    int todayMonth = 0, todayDay = 0;  // the date marked as today; 0 when today lies in another year
    PrintedPaper paper = PrintedPaper::A4;
    std::chrono::sys_seconds created{};  // the document's creation time
};

// The clock text of a moment: "08:19:58", "00:13:59›" after midnight (the
// next date's clock), "‹23:50:00" the evening before, "*****" above,
// "-----" below.
std::string PrintedMomentText(const PrintedMoment& moment);

// Every text of the year fit for a page and an XML file: valid UTF-8, no
// control characters and no bidirectional controls (an unclosed override
// would turn the coordinates and the year around).
PrintedYear PrintableYear(PrintedYear year);
