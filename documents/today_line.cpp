#include "documents/today_line.h"

#include "documents/timetable_values.h"
#include "text/numbers.h"

std::string WeekdayName(int weekday) {
    static const char* const kNames[7] = {"Sunday",   "Monday", "Thuesday", "Wednesday",
                                          "Thirsday", "Friday", "Saturday"};
    return weekday >= 0 && weekday < 7 ? kNames[weekday] : "";
}

std::string TodayLine(const YearResult& result, DateValue today) {
    DateParts parts = DatePartsOf(today);
    std::string year = YearText(result.Settings().yearReal);
    std::string line = "Today " + WeekdayName(parts.weekday) + " " + FormatInteger(parts.month) + "." +
                       FormatInteger(parts.day) + "." + year + "   SS SR = ";
    if (parts.month == 2 && parts.day == 29 && result.Leap() != 1)
        return line + "no 29 February in " + year;
    return line + result.Entry(parts.month * 100 + parts.day);
}
