#include "print/printed_year.h"

#include <cstdio>

std::string PrintedMomentText(const PrintedMoment& moment) {
    if (moment.kind == PrintedMoment::Kind::Above) return "*****";
    if (moment.kind == PrintedMoment::Kind::Below) return "-----";
    const int32_t clock = (moment.seconds % 86400 + 86400) % 86400;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", clock / 3600, clock / 60 % 60, clock % 60);
    return text;
}
