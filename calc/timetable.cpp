#include "calc/timetable.h"

std::string CalculateYear(Timetable& timetable, const ProgressReport& report) {
    const LeapCheck leap = CheckLeapYear(timetable.settings.yearReal);
    timetable.leap = leap.flag;
    timetable.leapMessage = leap.message;
    timetable.summer = ComputeSummerTimePeriod(timetable.settings.yearReal, timetable.leap);
    RunYear(timetable.settings, timetable.leap, timetable.summer, timetable.table, report);
    return SummerTimeStatusText(timetable.leapMessage, timetable.summer,
                                timetable.settings.summerTime);
}
