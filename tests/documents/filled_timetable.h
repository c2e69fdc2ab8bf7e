// Years filled by hand, so the documents can be checked without the year
// run: every real date's entry names its own date, "5mmdd 7mmdd".
#pragma once

#include "calc/year_result.h"
#include "documents/timetable_documents.h"
#include "text/numbers.h"
#include "text/text_slices.h"

#include <filesystem>
#include <string>
#include <vector>

// The inputs of a hand-filled year, adjusted by a test before the year is
// made from them: each date's moments give the entry DateEntry, 17 May's
// "52233 91530".
struct Timetable {
    TimetableSettings settings;
    LeapFlag leap = 0;
    SummerTimePeriod summer;
    operator YearResult() const;  // NOLINT: a filled year wherever one is read
};

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
    return t;
}

// Hours, minutes and seconds as decimal hours, whose cell shows them.
inline float Hours(int h, int m, int s) { return static_cast<float>(h + m / 60.0 + s / 3600.0); }

inline Timetable::operator YearResult() const {
    std::vector<DateMoments> dates;
    ForEachDayOfYear(leap, [&](int month, int day, int) {
        const bool may17 = month == 5 && day == 17;
        dates.push_back({settings.year, month, day, {DayKind::Normal, may17 ? Hours(5, 22, 33) : Hours(5, month, day), 0},
                         {DayKind::Normal, may17 ? Hours(21, 15, 30) : Hours(19, month, day), 0}});
    });
    return YearResult(settings, leap, summer, std::move(dates));
}

// The lines of a document joined as its file holds them.
inline std::string FileBytes(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    return bytes;
}

// Writes the document of that kind into folder, as a calculation does.
inline WriteOutcome WriteDocument(DocumentKind kind, const Timetable& timetable, const std::filesystem::path& folder) {
    return WriteTimetableDocument(MakeTimetableDocument(kind, timetable), folder);
}
