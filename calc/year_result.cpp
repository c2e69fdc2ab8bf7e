#include "calc/timetable.h"

void CalculateYear(Timetable& timetable, const ProgressReport& report,
                   const StatusReport& status) {
    const LeapCheck leap = CheckLeapYear(timetable.settings.yearReal);
    timetable.leap = leap.flag;
    timetable.leapMessage = leap.message;
    if (status) status(timetable.leapMessage);
    timetable.summer = ComputeSummerTimePeriod(timetable.settings.yearReal, timetable.leap);
    if (status)
        status(SummerTimeStatusText(timetable.leapMessage, timetable.summer,
                                    timetable.settings.summerTime));
    RunYear(timetable.settings, timetable.leap, timetable.summer, timetable.table, report);
}
