#include "docs/timetable_values.h"

#include "runtime/text/conversions.h"

#include <cmath>

std::string YearText(float yearReal) { return FormatInteger(std::lround(yearReal)); }

std::string DegreeText(float degrees) { return FormatReal(std::fabs(degrees)); }

std::string SixtyModeText(const std::string& packed) {
    long p = FindText(packed, ".", 1);
    if (p == 0) return packed + kDegreeSign;
    return TextSliceLeft(packed, p - 1) + kDegreeSign + TextSliceMiddle(packed, p + 1, 2) + "'" +
           TextSliceMiddle(packed, p + 3, 2) + " ''";
}

std::string ZoneText(float zone) { return TextSliceLeft(FormatReal(zone), 5); }

std::string TimeText(const std::string& cell) {
    return TextSliceMiddle(cell, 1, 1) + "h" + TextSliceMiddle(cell, 2, 2) + "min" +
           TextSliceMiddle(cell, 4, 2);
}

std::string SunriseCell(const std::string& entry) { return TextSliceMiddle(entry, 1, 5); }

std::string SunsetCell(const std::string& entry) { return TextSliceMiddle(entry, 7, 5); }

void BlankNonDates(Timetable& timetable) {
    const std::string blank(11, ' ');
    if (timetable.leap != 1) timetable.table[229] = blank;
    for (DayCode code : {230, 231, 431, 631, 931, 1131}) timetable.table[code] = blank;
}

std::string DayNumberText(int day) { return RightAlign(FormatInteger(day), 2) + ". "; }
