#include "calc/timetable.h"

std::string CalculateYear(Timetable& timetable, const ProgressReport& report,
                          const StatusReport& status) {
    const LeapCheck leap = CheckLeapYear(timetable.settings.yearReal);
    timetable.leap = leap.flag;
    timetable.leapMessage = leap.message;
    if (status) status(timetable.leapMessage);
    timetable.summer = ComputeSummerTimePeriod(timetable.settings.yearReal, timetable.leap);
    const std::string text = SummerTimeStatusText(timetable.leapMessage, timetable.summer,
                                                  timetable.settings.summerTime);
    if (status) status(text);
    RunYear(timetable.settings, timetable.leap, timetable.summer, timetable.table, report);
    return text;
}
