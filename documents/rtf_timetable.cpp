// The RTF timetable: the same header and tables as the text file, in
// Courier New 9 point, with the title, the KELMORVEN line, the "h" of every
// heading and the hour digit of every time in bold. 123 lines.
#include "documents/timetable_documents.h"
#include "documents/timetable_values.h"

#include "text/text_slices.h"

namespace {

const char* const kSecondHalfMonths =
    "       July       August     September   October     November    December";
const std::string kLabels = std::string(kSunLabels) + "\\par";
const HeaderWording kWording = {"   Jahr = ", "   Ort  = ", "   Longitude east  =  ", "    SR=",
                                "sec     SS=", RtfEscape};

std::string Heading() {
    std::string heading = "    \\b h\\b0 mmss";
    for (int i = 1; i < 12; ++i) heading += " \\b h\\b0 mmss";
    return heading + "\\par";
}

// A time cell with its hour digit in bold.
std::string BoldHourCell(const std::string& cell) {
    return "\\b " + TextSliceMiddle(cell, 1, 1) + "\\b0 " + TextSliceMiddle(cell, 2, 4);
}

// Row of day d over the six months from firstMonth: 164 bytes, showing the
// 76 characters of the text file's row.
std::string DayRow(const YearResult& result, int firstMonth, int d) {
    std::string row = DayNumberText(d);
    for (int month = firstMonth; month < firstMonth + 6; ++month) {
        const std::string entry = result.Entry(month * 100 + d);
        row += BoldHourCell(SunriseCell(entry)) + " " + BoldHourCell(SunsetCell(entry)) + " ";
    }
    return row + "\\par";
}

// Rows 1 to 31 in groups of five. The line between two groups holds one
// blank, before "\par" or before the repeated months line: 36 lines.
void AddHalfYear(std::vector<std::string>& lines, const YearResult& result, int firstMonth,
                 const std::string& months) {
    for (int d = 1; d <= 31; ++d) {
        if (d == 6 || d == 16 || d == 26) lines.push_back(" \\par");
        if (d == 11 || d == 21) lines.push_back(" " + months + "\\par");
        lines.push_back(DayRow(result, firstMonth, d));
    }
}

void AddPars(std::vector<std::string>& lines, int count) {
    lines.insert(lines.end(), static_cast<size_t>(count), std::string("\\par"));
}

}  // namespace

std::string RtfEscape(const std::string& text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        if (c == '\\' || c == '{' || c == '}') escaped += '\\';
        escaped += c;
    }
    return escaped;
}

std::vector<std::string> RtfTimetableLines(const YearResult& result) {
    const TimetableSettings& s = result.Settings();
    const std::string year = YearText(s.yearReal);
    // Texts as the user typed them; everything else is made by the program.
    const std::string town = RtfEscape(s.town);
    const std::string heading = Heading();

    std::vector<std::string> lines;
    lines.reserve(123);
    lines.push_back("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Courier New;}}");
    lines.push_back("{\\*\\generator Msftedit 5.41.15.1503;}\\viewkind4\\uc1\\pard\\lang1031\\f0\\fs18\\par");
    AddPars(lines, 3);                                                                         // 3-5
    lines.push_back("   \\b S U N R I S E   A N D   S U N S E T   T I M I N G S\\b0 \\par");      // 6
    AddPars(lines, 1);                                                                         // 7
    for (const std::string& line : HeaderLines(result, kWording))       // 8-16
        lines.push_back(line + "\\par");
    AddPars(lines, 3);                                                                 // 17-19
    lines.push_back(std::string(kFirstHalfMonths) + "\\par");                          // 20
    lines.push_back(kLabels);                                                          // 21
    lines.push_back(heading);                                                          // 22
    AddHalfYear(lines, result, 1, kFirstHalfMonths);                          // 23-58
    lines.push_back(kLabels);                                                          // 59
    lines.push_back(std::string(kFirstHalfMonths) + "\\par");                          // 60
    AddPars(lines, 14);                                                                // 61-74
    lines.push_back("                               \\b K E L M O R V E N\\b0 \\par");  // 75
    AddPars(lines, 2);                                                                 // 76-77
    lines.push_back(TimingsLine(s) + "\\par");                                         // 78
    lines.push_back("    Year=" + year + "/   Time Zone =" + ZoneText(s.zone) + "/   Town= " + town +
                    "\\par");                                                          // 79
    AddPars(lines, 2);                                                                 // 80-81
    lines.push_back(" " + std::string(kSecondHalfMonths) + " \\par");                 // 82
    lines.push_back(kLabels);                                                          // 83
    lines.push_back(heading);                                                          // 84
    AddHalfYear(lines, result, 7, kSecondHalfMonths);                         // 85-120
    lines.push_back(kLabels);                                                          // 121
    lines.push_back(" " + std::string(kSecondHalfMonths) + "\\par");                  // 122
    lines.push_back("}");                                                              // 123
    return lines;
}
