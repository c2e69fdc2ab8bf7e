#include "documents/moment_text.h"

#include "text/numbers.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

std::string DateText(int year, int month, int day) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%04d-%02d-%02d", year < 0 ? "-" : "", std::abs(year), month, day);
    return text;
}

std::string DateText(const CivilDay& day) { return DateText(day.year, day.month, day.day); }

std::string OffsetText(int32_t seconds) {
    const long size = std::labs(seconds);
    std::string text = (seconds < 0 ? "-" : "+") + TwoDigits(size / 3600) + ":" + TwoDigits(size / 60 % 60);
    if (size % 60 != 0) text += ":" + TwoDigits(size % 60);
    return text;
}

std::string LocalTimeText(std::chrono::local_seconds local, int32_t offset) {
    const std::chrono::sys_seconds clock{local.time_since_epoch()};
    const std::chrono::sys_days date = std::chrono::floor<std::chrono::days>(clock);
    const std::chrono::year_month_day ymd{date};
    const long second = static_cast<long>((clock - date).count());
    return DateText(static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
                    static_cast<int>(static_cast<unsigned>(ymd.day()))) +
           "T" + TwoDigits(second / 3600) + ":" + TwoDigits(second / 60 % 60) + ":" + TwoDigits(second % 60) +
           OffsetText(offset);
}

std::string MomentText(const CivilMoment& moment) {
    switch (moment.kind) {
    case DayKind::PolarDay:
        return "above";
    case DayKind::PolarNight:
        return "below";
    case DayKind::OtherDate:
        return "";  // none on this date: the neighbouring one has two
    case DayKind::Normal:
        break;
    }
    return LocalTimeText(moment.local, moment.offset);
}
