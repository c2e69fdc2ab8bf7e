#include "documents/data_formats.h"
#include "documents/moment_text.h"

std::vector<std::string> CsvLines(const DataYear& year) {
    std::vector<std::string> lines{kCsvHeader};
    lines.reserve(year.days.size() + 1);
    // No field holds a comma, a quote or a line end, so none is quoted.
    for (const CivilDay& day : year.days)
        lines.push_back(DateText(day) + "," + MomentText(day.sunrise) + "," + MomentText(day.sunset));
    return lines;
}
