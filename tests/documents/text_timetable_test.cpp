#include "documents/timetable_documents.h"
#include "documents/timetable_values.h"
#include "tests/documents/filled_timetable.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// 1-based line n of a document.
const std::string& Line(const std::vector<std::string>& lines, size_t n) { return lines.at(n - 1); }

// The 1-based line numbers of the 62 day rows.
std::vector<size_t> DayRowLines(size_t firstBlockLine) {
    std::vector<size_t> rows;
    size_t n = firstBlockLine;
    for (int d = 1; d <= 31; ++d) {
        if (d == 6 || d == 11 || d == 16 || d == 21 || d == 26) ++n;
        rows.push_back(n++);
    }
    return rows;
}

// The sunrise and sunset cells of day d in the month column 0-5 of a row.
std::string CellOfRow(const std::string& row, int column) { return row.substr(4 + 12 * column, 11); }

}  // namespace

TEST(TextTimetable, WorkedExampleHeaderMatchesByteForByte) {
    Timetable t = FilledTimetable(2005);
    std::vector<std::string> lines = TextTimetableLines(t);
    const std::vector<std::string> expected = {
        "   Year = 2005",
        "   Town  = TESTTOWN",
        "   Longitude east =  8.683056\xB0 (10-mode)    =  8\xB0" "40'59 '' (60-mode)",
        "   Latitude north = 47.299999\xB0 (10-mode)    = 47\xB0" "18' '' (60-mode)",
        "   Time difference to Greenwich Mean Time =1.000 hour(s) =MEZ",
        "   Summer Time Changes calculated from 3.27.2005 To 10.29.2005",
        "   sun's centre at true geocentric horizon by 0.002444 degrees (KELMORVEN)",
        "   At the Date 05.17.2005   SR=5h22min33sec    SS=9h15min30sec",
    };
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(Line(lines, 7 + i), expected[i]) << "line " << 7 + i;
}

TEST(TextTimetable, WorkedExampleFooterMatchesByteForByte) {
    Timetable t = FilledTimetable(2005);
    std::vector<std::string> lines = TextTimetableLines(t);
    EXPECT_EQ(Line(lines, 77), "    Timings/ Longitude 8.683056\xB0 (10-mode)/ Latitude 47.299999\xB0 (10-mode)");
    EXPECT_EQ(Line(lines, 78), "    Year=2005/  Time Zone=1.000/  Town= TESTTOWN");
}

TEST(TextTimetable, HasItsFixedLinesAndSixtyTwoRowsOfSeventySixCharacters) {
    Timetable t = FilledTimetable(2005);
    std::vector<std::string> lines = TextTimetableLines(t);
    ASSERT_EQ(lines.size(), 122u);

    std::set<size_t> empty = {1, 2, 3, 4, 6, 16, 17, 18, 75, 76, 79, 80, 122};
    for (size_t n = 60; n <= 73; ++n) empty.insert(n);
    for (size_t n : {27, 39, 51, 89, 101, 113}) empty.insert(n);  // between row groups
    for (size_t n = 1; n <= 122; ++n)
        if (empty.count(n)) {
            EXPECT_EQ(Line(lines, n), "") << "line " << n;
        }

    const std::string labels = "      SR    SS    SR    SS    SR    SS    SR    SS    SR    SS    SR    SS";
    const std::string heading = "    hmmss hmmss hmmss hmmss hmmss hmmss hmmss hmmss hmmss hmmss hmmss hmmss";
    const std::string firstMonths = "      January     February     March        April        Mai        June";
    const std::string secondMonths = "        July       August     September   October     November    December ";
    EXPECT_EQ(Line(lines, 5), "             S U N R I S E   A N D   S U N S E T   T I M I N G S");
    EXPECT_EQ(Line(lines, 15), "   \xA9 2026 KELMORVEN Timings");
    EXPECT_EQ(Line(lines, 19), firstMonths + "  ");
    EXPECT_EQ(Line(lines, 20), labels);
    EXPECT_EQ(Line(lines, 21), heading);
    EXPECT_EQ(Line(lines, 33), firstMonths);
    EXPECT_EQ(Line(lines, 45), firstMonths);
    EXPECT_EQ(Line(lines, 58), labels);
    EXPECT_EQ(Line(lines, 59), firstMonths);
    EXPECT_EQ(Line(lines, 74), "                               K E L M O R V E N ");
    EXPECT_EQ(Line(lines, 81), secondMonths);
    EXPECT_EQ(Line(lines, 82), labels);
    EXPECT_EQ(Line(lines, 83), heading);
    EXPECT_EQ(Line(lines, 95), secondMonths);
    EXPECT_EQ(Line(lines, 107), secondMonths);
    EXPECT_EQ(Line(lines, 120), labels + "  ");
    EXPECT_EQ(Line(lines, 121), "        July       August    September    October     November    December  ");

    for (size_t first : {22, 84}) {
        int firstMonth = first == 22 ? 1 : 7;
        std::vector<size_t> rows = DayRowLines(first);
        for (int d = 1; d <= 31; ++d) {
            const std::string& row = Line(lines, rows[d - 1]);
            ASSERT_EQ(row.size(), 76u) << "line " << rows[d - 1];
            EXPECT_EQ(row.substr(0, 4), DayNumberText(d));
            for (int column = 0; column < 6; ++column)  // non-dates are blank in the table now
                EXPECT_EQ(CellOfRow(row, column), YearResult(t).Entry((firstMonth + column) * 100 + d));
        }
        EXPECT_EQ(Line(lines, rows[0]).substr(0, 4), " 1. ");
        EXPECT_EQ(Line(lines, rows[30]).substr(0, 4), "31. ");
    }
    // Each cell stands under its own month: 17 May is in the fifth column.
    EXPECT_EQ(CellOfRow(Line(lines, DayRowLines(22)[16]), 4), "52233 91530");
    EXPECT_EQ(CellOfRow(Line(lines, DayRowLines(84)[30]), 5), "51231 71231");
}

TEST(TextTimetable, CellsOfDatesThatDoNotExistAreBlankInCommonAndLeapYears) {
    struct Case {
        int year;
        bool february29Exists;
    };
    for (Case c : {Case{2005, false}, Case{2004, true}, Case{1900, false}, Case{2000, true}}) {
        Timetable t = FilledTimetable(c.year);
        std::vector<std::string> lines = TextTimetableLines(t);
        const std::string blank(11, ' ');
        std::vector<size_t> first = DayRowLines(22), second = DayRowLines(84);
        EXPECT_EQ(CellOfRow(Line(lines, first[28]), 1) == blank, !c.february29Exists) << c.year;
        EXPECT_EQ(CellOfRow(Line(lines, first[29]), 1), blank) << c.year;
        EXPECT_EQ(CellOfRow(Line(lines, first[30]), 1), blank) << c.year;
        EXPECT_EQ(CellOfRow(Line(lines, first[30]), 3), blank) << c.year;  // 31 April
        EXPECT_EQ(CellOfRow(Line(lines, first[30]), 5), blank) << c.year;  // 31 June
        EXPECT_EQ(CellOfRow(Line(lines, second[30]), 2), blank) << c.year;  // 31 September
        EXPECT_EQ(CellOfRow(Line(lines, second[30]), 4), blank) << c.year;  // 31 November
        EXPECT_EQ(CellOfRow(Line(lines, second[30]), 3), "51031 71031") << c.year;
        EXPECT_EQ(Line(lines, first[30]).size(), 76u);
    }
}
