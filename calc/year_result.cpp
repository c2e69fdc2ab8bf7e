#include "calc/year_result.h"

#include <cmath>

YearResult::YearResult(TimetableSettings settings, LeapFlag leap, SummerTimePeriod summer,
                       std::vector<DateMoments> dates, std::string timeZone)
    : settings_(std::move(settings)), leap_(leap), summer_(summer), dates_(std::move(dates)),
      timeZone_(std::move(timeZone)) {
    position_.fill(-1);
    for (size_t i = 0; i < dates_.size(); ++i)
        position_.at(static_cast<size_t>(dates_[i].Code())) = static_cast<int16_t>(i);
}

DayCells YearResult::Cells(DayCode code) const {
    const int16_t at = code >= 0 && code < static_cast<DayCode>(position_.size())
                           ? position_[static_cast<size_t>(code)]
                           : int16_t{-1};
    return at < 0 ? DayCells{std::string(5, ' '), std::string(5, ' ')} : ComputeDayCells(dates_[static_cast<size_t>(at)]);
}

DayCells ComputeDayCells(const DateMoments& date) {
    return ComputeDayCells(date.sunrise.kind, date.sunrise.hours, date.sunset.kind, date.sunset.hours);
}

std::vector<DateMoments> RunYear(const TimetableSettings& settings, LeapFlag leap,
                                 const SummerTimePeriod& period, const ProgressReport& report) {
    const int32_t zoneSeconds = static_cast<int32_t>(std::lround(static_cast<double>(settings.zone) * 3600.0));
    std::vector<DateMoments> dates;
    dates.reserve(366);
    // The progress shown is the day counter itself: both count the days done.
    ForEachDayOfYear(leap, [&](int month, int day, int dayCounter) {
        const SunEvents moments = ComputeDayMoments(settings, period, month, day, dayCounter);
        const int32_t offset = zoneSeconds + (InSummerTime(dayCounter, period, settings.summerTime) ? 3600 : 0);
        dates.push_back({settings.year, month, day, {moments.sunriseKind, moments.sunrise, offset},
                         {moments.sunsetKind, moments.sunset, offset}});
        if (dayCounter < 330 && report) report(dayCounter);
    });
    return dates;
}

YearResult CalculateYear(const TimetableSettings& settings, const ProgressReport& report,
                         const StatusReport& status) {
    const LeapCheck leap = CheckLeapYear(settings.yearReal);
    if (status) status(leap.message);
    const SummerTimePeriod summer = ComputeSummerTimePeriod(settings.yearReal, leap.flag);
    if (status) status(SummerTimeStatusText(leap.message, summer, settings.summerTime));
    std::vector<DateMoments> dates = RunYear(settings, leap.flag, summer, report);
    return YearResult(settings, leap.flag, summer, std::move(dates));
}
