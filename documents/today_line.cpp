#include "documents/today_line.h"

#include "documents/timetable_values.h"

std::string WeekdayName(int weekday) {
    static const char* const kNames[7] = {"Sunday",   "Monday", "Thuesday", "Wednesday",
                                          "Thirsday", "Friday", "Saturday"};
    return weekday >= 0 && weekday < 7 ? kNames[weekday] : "";
}

std::string TodayLine(const Timetable& timetable, DateValue today) {
    DateParts parts = DatePartsOf(today);
    std::string year = YearText(timetable.settings.yearReal);
    std::string line = "Today " + WeekdayName(parts.weekday) + " " + FormatInteger(parts.month) + "." +
                       FormatInteger(parts.day) + "." + year + "   SS SR = ";
    if (parts.month == 2 && parts.day == 29 && timetable.leap != 1)
        return line + "no 29 February in " + year;
    return line + timetable.table[parts.month * 100 + parts.day];
}
