// The plain-text timetable: 122 lines, columns aligned with blanks for a
// monospaced editor.
#include "documents/timetable_documents.h"
#include "documents/timetable_values.h"


namespace {

const char* const kSecondHalfMonths =
    "        July       August     September   October     November    December ";
const char* const kHeading =
    "    hmmss hmmss hmmss hmmss hmmss hmmss hmmss hmmss hmmss hmmss hmmss hmmss";
// The text file keeps every typed byte as it stands.
std::string AsTyped(const std::string& text) { return text; }

const HeaderWording kWording = {"   Year = ", "   Town  = ", "   Longitude east =  ", "   SR=",
                                "sec    SS=", AsTyped};

// Row of day d over the six months from firstMonth: 76 characters.
std::string DayRow(const YearResult& result, int firstMonth, int d) {
    std::string row = DayNumberText(d);
    for (int month = firstMonth; month < firstMonth + 6; ++month) {
        const std::string entry = result.Entry(month * 100 + d);
        row += SunriseCell(entry) + " " + SunsetCell(entry) + " ";
    }
    return row;
}

// Rows 1 to 31 in groups of five, with an empty line or the months line
// between the groups: 36 lines.
void AddHalfYear(std::vector<std::string>& lines, const YearResult& result, int firstMonth,
                 const std::string& months) {
    for (int d = 1; d <= 31; ++d) {
        if (d == 6 || d == 16 || d == 26) lines.emplace_back();
        if (d == 11 || d == 21) lines.push_back(months);
        lines.push_back(DayRow(result, firstMonth, d));
    }
}

void AddEmpty(std::vector<std::string>& lines, int count) {
    lines.insert(lines.end(), static_cast<size_t>(count), std::string());
}

}  // namespace

std::vector<std::string> TextTimetableLines(const YearResult& result) {
    const TimetableSettings& s = result.Settings();
    const std::string year = YearText(s.yearReal);

    std::vector<std::string> lines;
    lines.reserve(122);
    AddEmpty(lines, 4);                                                                   // 1-4
    lines.push_back("             S U N R I S E   A N D   S U N S E T   T I M I N G S");  // 5
    AddEmpty(lines, 1);                                                                   // 6
    const std::vector<std::string> header = HeaderLines(result, kWording);
    lines.insert(lines.end(), header.begin(), header.end());                      // 7-15
    AddEmpty(lines, 3);                                                            // 16-18
    lines.push_back(std::string(kFirstHalfMonths) + "  ");                         // 19
    lines.push_back(kSunLabels);                                                      // 20
    lines.push_back(kHeading);                                                     // 21
    AddHalfYear(lines, result, 1, kFirstHalfMonths);                      // 22-57
    lines.push_back(kSunLabels);                                                      // 58
    lines.push_back(kFirstHalfMonths);                                             // 59
    AddEmpty(lines, 14);                                                           // 60-73
    lines.push_back("                               K E L M O R V E N ");           // 74
    AddEmpty(lines, 2);                                                            // 75-76
    lines.push_back(TimingsLine(s));                                               // 77
    lines.push_back("    Year=" + year + "/  Time Zone=" + ZoneText(s.zone) + "/  Town= " + s.town);
    AddEmpty(lines, 2);                                                            // 79-80
    lines.push_back(kSecondHalfMonths);                                            // 81
    lines.push_back(kSunLabels);                                                      // 82
    lines.push_back(kHeading);                                                     // 83
    AddHalfYear(lines, result, 7, kSecondHalfMonths);                     // 84-119
    lines.push_back(std::string(kSunLabels) + "  ");                                  // 120
    lines.push_back("        July       August    September    October     November    December  ");
    AddEmpty(lines, 1);                                                            // 122
    return lines;
}
