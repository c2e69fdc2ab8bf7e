#include "text/dates.h"

#include <chrono>
#include <cstdio>
#include <ctime>

DateValue CurrentDate() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    // Without the local time (a zone that cannot be read, a clock out of
    // range) the date is at least the right day in UTC, not 31 December 1899.
    if (!localtime_r(&now, &local)) {
        const auto utc = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
        return DateValue{utc.time_since_epoch()};
    }
    return MakeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                    local.tm_min, local.tm_sec);
}

DateValue MakeDate(int year, int month, int day, int hour, int minute, int second) {
    using namespace std::chrono;
    // The fields are taken as they are, without any zone; a day beyond the
    // month's end runs on into the next, as the calendar counts.
    const local_days date = local_days(std::chrono::year{year} / month / 1) + days{day - 1};
    return date + hours{hour} + minutes{minute} + seconds{second};
}

DateParts DatePartsOf(DateValue date) {
    using namespace std::chrono;
    const DateValue instant = date;
    const local_days day = floor<days>(instant);
    const year_month_day ymd{day};
    const hh_mm_ss time{instant - day};
    return {static_cast<int>(ymd.year()),          static_cast<int>(static_cast<unsigned>(ymd.month())),
            static_cast<int>(static_cast<unsigned>(ymd.day())), static_cast<int>(time.hours().count()),
            static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count()),
            static_cast<int>(weekday{day}.c_encoding())};
}

namespace {

bool MatchesToken(std::string_view mask, size_t at, std::string_view token) {
    if (mask.size() - at < token.size()) return false;
    for (size_t i = 0; i < token.size(); ++i) {
        char c = mask[at + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != token[i]) return false;
    }
    return true;
}

}  // namespace

std::string FormatDate(std::string_view mask, DateValue date) {
    const DateParts p = DatePartsOf(date);
    struct Field {
        std::string_view token;  // after the '%', in small letters
        const char* format;
        int value;
    };
    // "yyyy" before "yy", so that the longer token wins.
    const Field fields[] = {{"yyyy", "%04d", p.year},  {"yy", "%02d", p.year % 100},
                            {"mm", "%02d", p.month},   {"dd", "%02d", p.day},
                            {"hh", "%02d", p.hour},    {"ii", "%02d", p.minute},
                            {"ss", "%02d", p.second}};
    std::string out;
    size_t i = 0;
    while (i < mask.size()) {
        if (mask[i] != '%') {
            out += mask[i++];
            continue;
        }
        ++i;
        const Field* match = nullptr;
        for (const Field& field : fields) {
            if (MatchesToken(mask, i, field.token)) {
                match = &field;
                break;
            }
        }
        if (!match) {
            out += '%';  // no token follows: the sign stays as it is
            continue;
        }
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, match->format, match->value);
        out += buffer;
        i += match->token.size();
    }
    return out;
}
