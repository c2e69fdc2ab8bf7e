// The year of one calculation, computed once: the settings it was made
// from, the calendar and summer-time state of its year, and each date's two
// moments. Every output renders from a const reference to it.
#pragma once

#include "calc/calendar.h"
#include "calc/summer_time.h"
#include "calc/sun_events.h"
#include "calc/year_run.h"
#include "input/settings.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// One moment of a date on the clock of the result: the documents' time
// (zone hours, plus the summer-time hour on the days of the rule when summer
// time is on) or the civil time of a time zone.
struct Moment {
    DayKind kind = DayKind::Normal;  // PolarDay: the Sun stays above; PolarNight: below
    float hours = 0.0f;              // decimal hours from the date's midnight; for Normal only
    int32_t offset = 0;              // seconds the clock is ahead of UTC at the moment
};

// The two moments of one date.
struct DateMoments {
    int year = 0, month = 0, day = 0;
    Moment sunrise, sunset;
    int lived = 1;  // 2 for the second time a time zone lived the date (its clock set a day back)
    DayCode Code() const { return month * 100 + day; }
};

class YearResult {
public:
    YearResult(TimetableSettings settings, LeapFlag leap, SummerTimePeriod summer,
               std::vector<DateMoments> dates, std::string timeZone = {});

    const TimetableSettings& Settings() const { return settings_; }
    LeapFlag Leap() const { return leap_; }
    const SummerTimePeriod& Summer() const { return summer_; }
    // Every date of the year in order, as the clock lived it.
    const std::vector<DateMoments>& Dates() const { return dates_; }
    // The IANA zone whose civil time the moments are in; empty for the
    // zone and summer-time rule of the documents.
    const std::string& TimeZone() const { return timeZone_; }

    // The cells of code (the later date of a date lived twice); two cells
    // of five blanks for a code that names no date of the year.
    DayCells Cells(DayCode code) const;
    // Its DayEntry, "44821 75313"; 11 blanks for no date.
    std::string Entry(DayCode code) const { return ComputeDayEntry(Cells(code)); }

private:
    TimetableSettings settings_;
    LeapFlag leap_;
    SummerTimePeriod summer_;
    std::vector<DateMoments> dates_;
    std::string timeZone_;
    std::array<int16_t, 1233> position_;  // index into dates_ by DayCode, -1 for none
};

// Called with the leap message as soon as the year is known, then with the
// summer-time status that replaces it, both before the year run starts.
using StatusReport = std::function<void(const std::string& status)>;

// The calendar, the summer-time period and the year run for settings
// already checked; report, when given, after each of the first 329 days.
YearResult CalculateYear(const TimetableSettings& settings, const ProgressReport& report = {},
                         const StatusReport& status = {});

// The moments of every date of the year of settings, leap and period being
// that year's LeapFlag and SummerTimePeriod: the solver's times with the
// summer-time hour added on the period's days when summer time is on.
// report, when given, is called after each of the first 329 days.
std::vector<DateMoments> RunYear(const TimetableSettings& settings, LeapFlag leap,
                                 const SummerTimePeriod& period, const ProgressReport& report = {});

// The cells of a date's two moments.
DayCells ComputeDayCells(const DateMoments& date);
