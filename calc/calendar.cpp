#include "calc/calendar.h"

#include "text/numbers.h"

namespace {

// Whether year / divisor, divided in single precision, has no fraction.
bool DividesWhole(float year, float divisor) {
    const float quotient = year / divisor;
    return static_cast<double>(quotient) == static_cast<double>(TruncateToInteger(quotient));
}

// Int of a single-precision quotient.
int TruncatedQuotient(int numerator, int denominator) {
    const float quotient = static_cast<float>(numerator) / static_cast<float>(denominator);
    return TruncateToInteger(quotient);
}

}  // namespace

LeapCheck CheckLeapYear(float year) {
    const bool leap =
        DividesWhole(year, 4.0f) && (!DividesWhole(year, 100.0f) || DividesWhole(year, 400.0f));
    if (leap) return LeapCheck{1, "Is a leap-year!"};
    return LeapCheck{2, "Is no leap-year!"};
}

int MonthLength(int month, LeapFlag leap) {
    int days = 31;
    if (month == 2) days = 28;
    if (month == 2 && leap == 1) days = 29;
    if (month == 4 || month == 6 || month == 9 || month == 11) days = 30;
    return days;
}

int DayOfYear(int month, int day, int k) {
    return TruncatedQuotient(275 * month, 9) - k * TruncatedQuotient(month + 9, 12) + day - 30;
}

int WeekdayNumber(int year, int month, int day) {
    // W is held in 32 bits: in 16 bits it wraps negative for years above
    // about 26000 and no weekday would come out right.
    const int32_t w = day + 2 * month + TruncateToInteger((month + 1) * 0.6) + year +
                      TruncatedQuotient(year, 4) - TruncatedQuotient(year, 100) +
                      TruncatedQuotient(year, 400) + 2;
    const float sevenths = static_cast<float>(w) / 7.0f;
    const double fraction =
        static_cast<double>(sevenths) - static_cast<double>(TruncateToInteger(sevenths));
    return TruncateToInteger(fraction * 7.0 + 0.5);
}
