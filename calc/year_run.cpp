#include "calc/year_run.h"

#include "calc/sun_events.h"
#include "text/numbers.h"
#include "text/text_slices.h"

std::string TimeCell(float t, int shift) {
    const Sexagesimal split = SplitSexagesimal(t);
    // Wide, so that no time, however far off, overflows.
    const int64_t n = (split.whole - shift) * 10000 + split.minutes * 100 + split.seconds;
    const std::string digits = FormatInteger(static_cast<long>(n));
    // A cell is always five characters, so the timetable columns never shift.
    // A negative number (a sunset before noon, a sunrise on the day before,
    // as a zone far from the place's own gives) is right-aligned in five
    // characters and so keeps its sign: cut to its last five, -97000 would
    // read as the plausible 9:70:00. From five digits on the last five are
    // kept (a sunrise from 10:00 or a sunset from 22:00 loses the tens digit
    // of its hour, as stored timetables have it); fewer get leading zeros.
    if (n < 0) return RightAlign(digits, 5);
    if (digits.size() >= 5) return TextSliceRight(digits, 5);
    return std::string(5 - digits.size(), '0') + digits;
}

std::string EventCell(DayKind kind, float t, int shift) {
    switch (kind) {
    case DayKind::PolarDay:
        return "*****";  // the Sun stays above
    case DayKind::PolarNight:
        return "-----";  // the Sun stays below
    case DayKind::Normal:
        break;
    }
    return TimeCell(t, shift);
}

SunEvents ComputeDayMoments(const TimetableSettings& settings, const SummerTimePeriod& period,
                            int month, int day, int dayCounter) {
    SunEvents events =
        ComputeSunEvents(settings.year, static_cast<uint8_t>(month), static_cast<uint8_t>(day),
                         settings.longitude, settings.latitude, settings.zone);
    events.sunrise = ApplySummerTime(events.sunrise, dayCounter, period, settings.summerTime);
    events.sunset = ApplySummerTime(events.sunset, dayCounter, period, settings.summerTime);
    return events;
}

std::string ComputeDayEntry(const TimetableSettings& settings, const SummerTimePeriod& period,
                            int month, int day, int dayCounter) {
    const SunEvents moments = ComputeDayMoments(settings, period, month, day, dayCounter);
    return EventCell(moments.sunriseKind, moments.sunrise, 0) + " " +
           EventCell(moments.sunsetKind, moments.sunset, 12);
}

void ForEachDayOfYear(LeapFlag leap, const std::function<void(int month, int day, int dayCounter)>& visit) {
    int dayCounter = 0;
    for (int month = 1; month <= 12; ++month) {
        const int monthLength = MonthLength(month, leap);
        for (int day = 1; day <= monthLength; ++day) visit(month, day, ++dayCounter);
    }
}
