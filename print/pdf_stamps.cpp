#include "print/pdf_stamps.h"

#include <chrono>
#include <cstdio>

std::string FixedPdfStamps(std::string pdf, int64_t created) {
    static constexpr std::string_view kKey = "/CreationDate (D:";
    const size_t at = pdf.find(kKey);
    if (at == std::string::npos) return pdf;
    const size_t start = at + kKey.size(), end = pdf.find(')', start);
    if (end == std::string::npos) return pdf;

    const std::chrono::sys_seconds clock{std::chrono::seconds{created}};
    const std::chrono::sys_days date = std::chrono::floor<std::chrono::days>(clock);
    const std::chrono::year_month_day ymd{date};
    const long second = static_cast<long>((clock - date).count());
    char text[40];
    const int length = std::snprintf(text, sizeof text, "%04d%02u%02u%02ld%02ld%02ldZ", static_cast<int>(ymd.year()),
                                     static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                                     second / 3600, second / 60 % 60, second % 60);
    if (length == static_cast<int>(end - start)) pdf.replace(start, end - start, text);
    return pdf;
}
