#include "print/pdf_stamps.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

// "20260517010203Z": the PDF date of created in UTC; nothing beyond 9999.
std::string PdfDate(int64_t created) {
    const std::chrono::sys_seconds clock{std::chrono::seconds{created}};
    const std::chrono::sys_days date = std::chrono::floor<std::chrono::days>(clock);
    const std::chrono::year_month_day ymd{date};
    if (static_cast<int>(ymd.year()) < 0 || static_cast<int>(ymd.year()) > 9999) return "";
    const long second = static_cast<long>((clock - date).count());
    char text[40];
    std::snprintf(text, sizeof text, "%04d%02u%02u%02ld%02ld%02ldZ", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()), second / 3600,
                  second / 60 % 60, second % 60);
    return text;
}

// Moves by shift every offset of the cross-reference table and of
// startxref that lies beyond at. False when the table is not the plain
// one the writer makes.
bool ShiftOffsets(std::string& pdf, size_t at, long shift) {
    const size_t table = pdf.rfind("\nxref\n");
    const size_t start = pdf.rfind("startxref\n");
    if (table == std::string::npos || start == std::string::npos || table < at) return false;
    size_t line = pdf.find('\n', table + 6);  // after "0 N"
    if (line == std::string::npos) return false;
    // Entries of 20 bytes: ten digits of offset, a blank, five of generation, " n \n" (" f \n" free).
    for (++line; line + 20 <= pdf.size() && (pdf[line + 17] == 'n' || pdf[line + 17] == 'f'); line += 20) {
        if (pdf[line + 17] == 'f') continue;  // a free entry
        const long offset = std::strtol(pdf.c_str() + line, nullptr, 10);
        if (offset <= static_cast<long>(at)) continue;
        char digits[16];
        std::snprintf(digits, sizeof digits, "%010ld", offset + shift);
        pdf.replace(line, 10, digits);
    }
    const size_t number = start + 10, end = pdf.find_first_not_of("0123456789", number);
    if (end == std::string::npos || end == number) return false;
    const long offset = std::strtol(pdf.c_str() + number, nullptr, 10);
    pdf.replace(number, end - number, std::to_string(offset + shift));
    return true;
}

}  // namespace

std::string FixedPdfStamps(std::string pdf, int64_t created) {
    static constexpr std::string_view kKey = "/CreationDate (D:";
    const size_t at = pdf.find(kKey);
    if (at == std::string::npos) return pdf;
    const size_t start = at + kKey.size(), end = pdf.find(')', start);
    const std::string date = PdfDate(created);
    if (end == std::string::npos || date.empty()) return pdf;
    std::string fixed = pdf;
    fixed.replace(start, end - start, date);
    const long shift = static_cast<long>(date.size()) - static_cast<long>(end - start);
    if (shift != 0 && !ShiftOffsets(fixed, start, shift)) return pdf;
    return fixed;
}
