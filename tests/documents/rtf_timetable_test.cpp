#include "documents/timetable_documents.h"
#include "runtime/text/conversions.h"
#include "runtime/text/text_file.h"
#include "tests/documents/filled_timetable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::string& Line(const std::vector<std::string>& lines, size_t n) { return lines.at(n - 1); }

// What a reader shows of a line: without the bold switches, the paragraph
// mark and the escapes.
std::string Visible(std::string line) {
    for (const char* control : {"\\b0 ", "\\b ", "\\par"}) {
        for (size_t at; (at = line.find(control)) != std::string::npos;) line.erase(at, std::strlen(control));
    }
    std::string shown;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) ++i;
        shown += line[i];
    }
    return shown;
}

bool IsDayRow(const std::string& line) { return std::regex_search(line, std::regex("^[ 123][0-9]\\. ")); }

// Unescaped braces must pair up over the whole document.
bool GroupsBalance(const std::vector<std::string>& lines) {
    int depth = 0;
    for (const std::string& line : lines) {
        for (size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '\\') ++i;
            else if (line[i] == '{') ++depth;
            else if (line[i] == '}' && --depth < 0) return false;
        }
    }
    return depth == 0;
}

}  // namespace

TEST(RtfTimetable, IsOneGroupFromItsHeaderToTheClosingBrace) {
    Timetable t = FilledTimetable();
    std::vector<std::string> lines = RtfTimetableLines(t);
    ASSERT_EQ(lines.size(), 123u);
    EXPECT_EQ(Line(lines, 1), "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Courier New;}}");
    EXPECT_EQ(Line(lines, 2), "{\\*\\generator Msftedit 5.41.15.1503;}\\viewkind4\\uc1\\pard\\lang1031\\f0\\fs18\\par");
    EXPECT_EQ(Line(lines, 123), "}");
    for (size_t n = 2; n <= 122; ++n) {
        const std::string& line = Line(lines, n);
        EXPECT_EQ(line.substr(line.size() - 4), "\\par") << "line " << n;
    }
    EXPECT_TRUE(GroupsBalance(lines));
    EXPECT_EQ(Line(lines, 6), "   \\b S U N R I S E   A N D   S U N S E T   T I M I N G S\\b0 \\par");
    EXPECT_EQ(Line(lines, 75), "                               \\b K E L M O R V E N\\b0 \\par");
    EXPECT_EQ(Line(lines, 22), "    \\b h\\b0 mmss \\b h\\b0 mmss \\b h\\b0 mmss \\b h\\b0 mmss \\b h\\b0 mmss \\b h\\b0 mmss "
                               "\\b h\\b0 mmss \\b h\\b0 mmss \\b h\\b0 mmss \\b h\\b0 mmss \\b h\\b0 mmss \\b h\\b0 mmss\\par");
    EXPECT_EQ(Line(lines, 84), Line(lines, 22));
}

TEST(RtfTimetable, DayRowsShowTheTextFilesRowsWithBoldHourDigits) {
    for (int year : {2005, 2004}) {
        Timetable t = FilledTimetable(year);
        std::vector<std::string> text = TextTimetableLines(t), rtf = RtfTimetableLines(t);
        std::vector<std::string> textRows, rtfRows;
        for (const std::string& line : text)
            if (IsDayRow(line)) textRows.push_back(line);
        for (const std::string& line : rtf) {
            if (!IsDayRow(line)) continue;
            EXPECT_EQ(line.size(), 164u) << line;
            rtfRows.push_back(Visible(line));
        }
        EXPECT_EQ(textRows.size(), 62u);
        EXPECT_EQ(rtfRows, textRows) << year;
    }
    Timetable t = FilledTimetable(2005);
    std::vector<std::string> rtf = RtfTimetableLines(t);
    EXPECT_EQ(Line(rtf, 23), " 1. \\b 5\\b0 0101 \\b 7\\b0 0101 \\b 5\\b0 0201 \\b 7\\b0 0201 \\b 5\\b0 0301 \\b 7\\b0 0301 "
                             "\\b 5\\b0 0401 \\b 7\\b0 0401 \\b 5\\b0 0501 \\b 7\\b0 0501 \\b 5\\b0 0601 \\b 7\\b0 0601 \\par");
    // 30 February: blanks in the bold parts too.
    EXPECT_NE(Line(rtf, 57).find("\\b 7\\b0 0130 \\b  \\b0      \\b  \\b0      \\b 5\\b0 0330"), std::string::npos);
    // Between the row groups one blank; the repeated month line starts one
    // column further right in the first table, as the top one in the second.
    for (size_t n : {28, 40, 52, 90, 102, 114}) EXPECT_EQ(Line(rtf, n), " \\par") << n;
    EXPECT_EQ(Line(rtf, 34), "       January     February     March        April        Mai        June\\par");
    EXPECT_EQ(Line(rtf, 46), Line(rtf, 34));
    EXPECT_EQ(Line(rtf, 20), "      January     February     March        April        Mai        June\\par");
    EXPECT_EQ(Line(rtf, 96), "        July       August     September   October     November    December\\par");
    EXPECT_EQ(Line(rtf, 108), Line(rtf, 96));
    EXPECT_EQ(Line(rtf, 122), Line(rtf, 96));
    EXPECT_EQ(Line(rtf, 82), "        July       August     September   October     November    December \\par");
}

TEST(RtfTimetable, BracesInTheTownNameAreEscapedWhileTheTextFileKeepsThem) {
    Timetable t = FilledTimetable();
    t.settings.town = "A}B{C";
    std::vector<std::string> rtf = RtfTimetableLines(t);
    EXPECT_EQ(Line(rtf, 9), "   Ort  = A\\}B\\{C\\par");
    EXPECT_EQ(Line(rtf, 79), "    Year=2005/   Time Zone =1.000/   Town= A\\}B\\{C\\par");
    EXPECT_TRUE(GroupsBalance(rtf));
    std::vector<std::string> text = TextTimetableLines(t);
    EXPECT_EQ(Line(text, 8), "   Town  = A}B{C");
    EXPECT_EQ(RtfEscape("X\\Y"), "X\\\\Y");
    EXPECT_EQ(MakeTimetableDocument(DocumentKind::Rtf, t).fileName, "A}B{C.WRI");
}

// A word processor opens the document whole: converted to plain text, its
// rows are those of the text file, and a town with braces shows as typed.
TEST(RtfTimetable, AWordProcessorShowsTheSameRowsAsTheTextFile) {
    if (std::system("command -v libreoffice >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "libreoffice is not installed (Debian package libreoffice-writer-nogui); "
                        "the RTF is not checked in a reader";
    fs::path folder = fs::temp_directory_path() / ("kelmorven_rtf_reader_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder / "out");
    Timetable t = FilledTimetable(2004);
    t.settings.town = "A}B{C";
    ASSERT_TRUE(WriteDocument(DocumentKind::Rtf, t, folder));
    std::vector<std::string> textLines = TextTimetableLines(t);

    const std::string command =
        "cd '" + folder.string() + "' && HOME='" + folder.string() + "' libreoffice --headless "
        "-env:UserInstallation=file://" + folder.string() + "/profile --infilter='Rich Text Format' "
        "--convert-to 'txt:Text (encoded):UTF8' --outdir out 'A}B{C.WRI' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream in(folder / "out" / "A}B{C.txt", std::ios::binary);
    ASSERT_TRUE(in) << "no converted file";
    std::string shown{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (shown.rfind("\xEF\xBB\xBF", 0) == 0) shown.erase(0, 3);

    std::vector<std::string> shownLines;
    for (size_t start = 0; start < shown.size();) {
        size_t end = shown.find('\n', start);
        if (end == std::string::npos) end = shown.size();
        std::string line = shown.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        shownLines.push_back(line);
        start = end + 1;
    }
    std::vector<std::string> shownRows, textRows;
    for (const std::string& line : shownLines)
        if (IsDayRow(line)) shownRows.push_back(line);
    for (const std::string& line : textLines)
        if (IsDayRow(line)) textRows.push_back(Cp1252ToUtf8(line));
    EXPECT_EQ(shownRows.size(), 62u);
    EXPECT_EQ(shownRows, textRows);
    EXPECT_NE(std::find(shownLines.begin(), shownLines.end(), "   Ort  = A}B{C"), shownLines.end());
    EXPECT_NE(std::find(shownLines.begin(), shownLines.end(), Cp1252ToUtf8("   \xA9 2026 KELMORVEN Timings")),
              shownLines.end());
    EXPECT_EQ(shownLines.back().empty() ? shownLines[shownLines.size() - 2] : shownLines.back(),
              "        July       August     September   October     November    December");
    fs::remove_all(folder);
}
