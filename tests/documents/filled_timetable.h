// Timetables filled by hand, so the documents can be checked without the
// year run: every real date's entry names its own date, "5mmdd 7mmdd".
#pragma once

#include "calc/timetable.h"
#include "documents/timetable_documents.h"
#include "runtime/text/conversions.h"

#include <filesystem>
#include <string>
#include <vector>

inline std::string DateEntry(int month, int day) {
    std::string mmdd = RightAlign(FormatInteger(month * 100 + day), 4);
    for (char& c : mmdd)
        if (c == ' ') c = '0';
    return "5" + mmdd + " 7" + mmdd;
}

// The inputs of the worked example: TESTTOWN 2005, 8°40'59'' east,
// 47°18' north, zone 1 with summer time from 27 March to 29 October, and
// 17 May at 5:22:33 and 21:15:30.
inline Timetable FilledTimetable(int year = 2005) {
    Timetable t;
    TimetableSettings& s = t.settings;
    s.yearText = FormatInteger(year);
    s.year = static_cast<int16_t>(year);
    s.yearReal = static_cast<float>(year);
    s.town = "TESTTOWN";
    s.longitudePacked = "8.4059";
    s.longitude = 8.683056f;
    s.longitudeSide = 1;
    s.latitudePacked = "47.18";
    s.latitude = 47.3f;
    s.latitudeSide = 1;
    s.zone = 1.0f;
    s.summerTime = 1;
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    t.leap = leap ? 1 : 2;
    t.summer.springDay = 27;
    t.summer.autumnDay = 29;
    const int lengths[12] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int month = 1; month <= 12; ++month)
        for (int day = 1; day <= lengths[month - 1]; ++day) t.table[month * 100 + day] = DateEntry(month, day);
    t.table[517] = "52233 91530";
    return t;
}

// The lines of a document joined as its file holds them.
inline std::string FileBytes(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    return bytes;
}

// Writes the document of that kind into folder, as a calculation does.
inline bool WriteDocument(DocumentKind kind, Timetable& timetable, const std::filesystem::path& folder) {
    return WriteTimetableDocument(MakeTimetableDocument(kind, timetable), folder);
}
