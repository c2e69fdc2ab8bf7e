#include "calc/civil_seconds.h"

#include "text/numbers.h"

#include <chrono>
#include <cmath>

int64_t RoundedSeconds(float t) {
    const Sexagesimal split = SplitSexagesimal(t);
    return split.whole * 3600 + split.minutes * 60 + split.seconds;
}

float HoursOfSeconds(int64_t seconds) {
    // The nearest float lies within a few milliseconds of the second, far
    // inside its half second; the steps only guard the split's own rounding.
    float hours = static_cast<float>(static_cast<double>(seconds) / 3600.0);
    for (int step = 0; step < 8 && RoundedSeconds(hours) != seconds; ++step)
        hours = std::nextafter(hours, RoundedSeconds(hours) < seconds ? HUGE_VALF : -HUGE_VALF);
    return hours;
}

std::chrono::local_seconds CivilDateStart(int year, int month, int day) {
    return std::chrono::local_seconds{std::chrono::seconds{CivilDateSeconds(year, month, day)}};
}

int64_t CivilDateSeconds(int year, int month, int day) {
    const std::chrono::sys_days date{std::chrono::year{year} / month / day};
    return static_cast<int64_t>(date.time_since_epoch().count()) * 86400;
}
