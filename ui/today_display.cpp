#include "ui/today_display.h"

#include "runtime/text/conversions.h"
#include "runtime/window/window_layer.h"
#include "ui/main_window.h"

#include <array>
#include <cmath>

namespace {

// Written as the timetables of this program have always written them.
const std::array<const char*, 7> kWeekdayNames = {"Sunday",   "Monday", "Thuesday", "Wednesday",
                                                  "Thirsday", "Friday", "Saturday"};

}  // namespace

std::string TodayLineText(const Timetable& timetable, const StartValues& start) {
    const int month = ParseInteger(TextSliceMiddle(start.dateText, 6, 2));
    const int day = ParseInteger(TextSliceRight(start.dateText, 2));
    const int weekday = DatePartsOf(start.dateValue).weekday;
    const std::string year = FormatInteger(std::lround(timetable.settings.yearReal));

    std::string entry;
    if (month == 2 && day == 29 && timetable.leap != 1) {
        entry = "no 29 February in " + year;
    } else if (month >= 1 && month <= 12 && day >= 1 && day <= 31) {
        entry = timetable.table[month * 100 + day];
    }
    return "Today " + std::string(kWeekdayNames.at(static_cast<size_t>(weekday))) + " " +
           FormatInteger(month) + "." + FormatInteger(day) + "." + year + "   SS SR = " + entry;
}

void ShowTodayLine(Program& program) {
    program.window.ControlTextSet(kAboutLine, TodayLineText(program.timetable, program.start));
}
