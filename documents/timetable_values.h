// The value renderings shared by both timetable documents, and the cells of
// the day rows. Texts are code page 1252.
#pragma once

#include "calc/year_result.h"

#include <string>
#include <vector>

// The degree sign, one byte in code page 1252.
inline constexpr const char* kDegreeSign = "\xB0";

// The first half-year's month names and the SR/SS labels above each
// table, the same in both documents (the second half-year's names are
// spaced differently in each).
inline constexpr const char* kFirstHalfMonths =
    "      January     February     March        April        Mai        June";
inline constexpr const char* kSunLabels =
    "      SR    SS    SR    SS    SR    SS    SR    SS    SR    SS    SR    SS";

// The year as an integer text: yearReal rounded to nearest, "2004".
std::string YearText(float yearReal);

// The absolute value of a coordinate (degrees) with six decimals and no
// sign: 8.683056 for 8.683056 east or west.
std::string DegreeText(float degrees);

// A packed degrees text as degrees, minutes and seconds: "8.4059" gives
// "8°40'59 ''", "47.18" gives "47°18' ''", "8" gives "8°". Digits after the
// fourth decimal are dropped.
std::string SixtyModeText(const std::string& packed);

// The first five characters of the zone (hours) with six decimals: 1 gives
// "1.000", -3.5 gives "-3.50".
std::string ZoneText(float zone);

// The words and blank runs in which the two documents' headers differ.
struct HeaderWording {
    const char* year;     // "   Year = ", before the year text
    const char* town;     // "   Town  = ", before the town
    const char* east;     // "   Longitude east =  ", before an east longitude
    const char* sunrise;  // "   SR=", before the sunrise of 17 May
    const char* sunset;   // "sec    SS=", before its sunset
    // How a text the user typed (the town, a 60-mode coordinate as typed) is
    // written: as it stands in the text file, escaped in the RTF so that no
    // typed brace or backslash can end a group or start a control word.
    std::string (*typed)(const std::string&);
};

// The header from the year line to the publisher line, nine lines without
// line end, the typed texts written through wording.typed:
//   "   Year = 2004", "   Town  = TOWN",
//   "   Longitude east =  9.000000° (10-mode)    =  9° (60-mode)" (west:
//   "   Longitude west =  "), "   Latitude north = ... (60-mode)",
//   "   Time difference to Greenwich Mean Time =1.000 hour(s) =MEZ" (the
//   "=MEZ" only for a zone of exactly 1 hour),
//   "   Summer Time Changes calculated from 3.28.2004 To 10.30.2004" (without
//   summer time: "   no summertime changes included at calculation !"),
//   "   sun's centre at true geocentric horizon by 0.002444 degrees (KELMORVEN)",
//   "   At the Date 05.17.2004   SR=5h22min33sec    SS=9h15min30sec",
//   the publisher line.
std::vector<std::string> HeaderLines(const YearResult& result, const HeaderWording& wording);

// "    Timings/ Longitude 9.000000° (10-mode)/ Latitude 48.000000° (10-mode)",
// the degree texts of both coordinates, above the second half-year.
std::string TimingsLine(const TimetableSettings& settings);

// A time cell "hmmss" spelled out: "52233" gives "5h22min33".
std::string TimeText(const std::string& cell);

// The day number of a table row, right-aligned in two places and followed by
// ". ": " 1. ", "31. ".
std::string DayNumberText(int day);
