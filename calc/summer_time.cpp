#include "calc/summer_time.h"

#include "text/numbers.h"

namespace {

// Day of the last Sunday of a month of 31 days (March or October).
int LastSunday(int year, int month) {
    int sunday = 0;
    for (int d = 1; d <= 31; ++d) {
        if (WeekdayNumber(year, month, d) == 1) sunday = d;
    }
    return sunday;
}

}  // namespace

SummerTimePeriod ComputeSummerTimePeriod(float year, LeapFlag leap) {
    SummerTimePeriod period;
    const int wholeYear = TruncateToInteger(year);
    period.springDay = static_cast<int16_t>(LastSunday(wholeYear, 3));
    period.start = static_cast<int16_t>(DayOfYear(3, period.springDay, leap));
    period.autumnDay = static_cast<int16_t>(LastSunday(wholeYear, 10) - 1);
    period.end = static_cast<int16_t>(DayOfYear(10, period.autumnDay, leap));
    return period;
}

std::string SummerTimeStatusText(const std::string& leapMessage, const SummerTimePeriod& period,
                                 uint8_t summerTime) {
    if (summerTime != 1) return leapMessage + " No Summer Time Changes.";
    return leapMessage + " ST-Changes included: " + FormatInteger(period.springMonth) + "." +
           FormatInteger(period.springDay) + ". - " + FormatInteger(period.autumnMonth) + "." +
           FormatInteger(period.autumnDay) + ".";
}

bool InSummerTime(int dayOfYear, const SummerTimePeriod& period, uint8_t summerTime) {
    return summerTime == 1 && period.start <= dayOfYear && dayOfYear <= period.end;
}

float ApplySummerTime(float t, int dayOfYear, const SummerTimePeriod& period, uint8_t summerTime) {
    if (InSummerTime(dayOfYear, period, summerTime)) return t + 1.0f;
    return t;
}
