// Date values: local wall-clock dates and times as seconds, their fields
// and their texts.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

// A date value: local wall-clock time to the second, with no zone attached
// (its fields read back unconverted are the local ones); an instant is a
// std::chrono::sys_seconds, never a date value.
using DateValue = std::chrono::local_seconds;

// The local wall-clock date and time now, to the second.
DateValue CurrentDate();
// The date value of a local wall-clock date and time.
DateValue MakeDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

struct DateParts {
    int year;     // four digits
    int month;    // 1-12
    int day;      // 1-31
    int hour;     // 0-23
    int minute;
    int second;
    int weekday;  // 0 = Sunday ... 6 = Saturday
};
DateParts DatePartsOf(DateValue date);

// Copies the mask, replacing %yyyy, %yy, %mm, %dd, %hh, %ii and %ss (any
// letter case) by the date's fields: "%yyyy,%mm,%dd" gives "2004,03,14".
std::string FormatDate(std::string_view mask, DateValue date);
