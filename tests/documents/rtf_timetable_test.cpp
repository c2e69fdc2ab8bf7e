#include "documents/document_file.h"
#include "documents/timetable_documents.h"
#include "documents/timetable_values.h"
#include "files/text_file.h"
#include "input/checks.h"
#include "tests/documents/filled_timetable.h"
#include "tests/support/rtf_reading.h"
#include "tests/support/temp_folder.h"
#include "text/code_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::string& Line(const std::vector<std::string>& lines, size_t n) { return lines.at(n - 1); }
const std::string& Line(std::vector<std::string>&& lines, size_t n) = delete;  // would outlive its lines

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

bool IsDayRow(const std::string& line) {
    static const std::regex row("^[ 123][0-9]\\. ");
    return std::regex_search(line, row);
}

std::vector<std::string> DayRows(const std::vector<std::string>& lines) {
    std::vector<std::string> rows;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(rows), IsDayRow);
    return rows;
}


// The fields of the settings that hold what the user typed, the header line
// that shows each (its start in both documents) and how it is shown.
struct UserText {
    const char* name;
    std::string TimetableSettings::*field;
    const char* rtfStart;
    const char* textStart;
    std::string (*shown)(const std::string& typed);
};

std::string AsTyped(const std::string& typed) { return typed; }
std::string AsSixtyMode(const std::string& packed) { return SixtyModeText(packed) + " (60-mode)"; }

const UserText kUserTexts[] = {
    {"town", &TimetableSettings::town, "   Ort  = ", "   Town  = ", AsTyped},
    {"longitude", &TimetableSettings::longitudePacked, "   Longitude ", "   Longitude ", AsSixtyMode},
    {"latitude", &TimetableSettings::latitudePacked, "   Latitude ", "   Latitude ", AsSixtyMode},
};

std::string WithoutLineEnds(std::string text) {
    text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }), text.end());
    return text;
}

const std::string* StartingWith(const std::vector<std::string>& lines, const std::string& start) {
    for (const std::string& line : lines)
        if (line.rfind(start, 0) == 0) return &line;
    return nullptr;
}
// The line found must outlive the statement: lines made on the spot would
// be gone before the pointer is read.
const std::string* StartingWith(std::vector<std::string>&& lines, const std::string& start) = delete;

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The document of t read back: one group from the first byte to the last,
// no control word but its own, all 62 day rows, and the user's text shown
// as typed (an RTF reader drops line ends), while the text file keeps its bytes.
void ExpectShownAsTyped(Timetable& t, const UserText& user, const std::string& what) {
    const std::string typed = t.settings.*user.field;
    std::vector<std::string> rtf = RtfTimetableLines(t);
    ASSERT_EQ(rtf.size(), 123u) << what;
    const RtfReading reading = ReadRtf(FileBytes(rtf));
    EXPECT_TRUE(reading.groupsClosedAtEnd) << what;
    for (const std::string& control : reading.controls)
        EXPECT_EQ(kTimetableRtfControls.count(control), 1u) << what << ": " << control;
    EXPECT_EQ(DayRows(reading.paragraphs), DayRows(TextTimetableLines(t))) << what;
    const std::string* shown = StartingWith(reading.paragraphs, user.rtfStart);
    ASSERT_NE(shown, nullptr) << what;
    EXPECT_TRUE(EndsWith(*shown, WithoutLineEnds(user.shown(typed)))) << what;
    const std::vector<std::string> text = TextTimetableLines(t);
    const std::string* kept = StartingWith(text, user.textStart);
    ASSERT_NE(kept, nullptr) << what;
    EXPECT_TRUE(EndsWith(*kept, user.shown(typed))) << what;
}

// A text holding byte b where each part of a field is read: in the town,
// and in the degrees, minutes and seconds of a packed coordinate.
std::string HoldingByte(const UserText& user, char b, const char* degrees) {
    if (user.field == &TimetableSettings::town) return std::string("A") + b + "B";
    return degrees + std::string(1, b) + ".1" + b + "3" + b;
}

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

TEST(RtfTimetable, EveryByteATypedTextHoldsIsShownAsTypedAndOpensNoGroupOrField) {
    for (const UserText& user : kUserTexts) {
        for (int byte = 1; byte <= 255; ++byte) {
            Timetable t = FilledTimetable();
            t.settings.*user.field = HoldingByte(user, static_cast<char>(byte), "9");
            ExpectShownAsTyped(t, user, std::string(user.name) + " holding byte " + std::to_string(byte));
        }
    }
}

// What the checks let through from each field in 60-mode, where the typed
// coordinate itself becomes the packed text: every byte but "," and "-"
// (and, in the town, the nine signs and the umlauts).
TEST(RtfTimetable, EveryByteTheChecksLetThroughIsShownAsTyped) {
    const std::string refusedInTown = "\\/:*?<>#|\xC4\xD6\xDC\xDF";
    for (const UserText& user : kUserTexts) {
        for (int byte = 1; byte <= 255; ++byte) {
            const char b = static_cast<char>(byte);
            InputSnapshot snapshot{"2005", "TESTTOWN", "8.4059", "47.18", "1", true, false, false, true};
            if (user.field == &TimetableSettings::town) snapshot.townRaw = HoldingByte(user, b, "");
            if (user.field == &TimetableSettings::longitudePacked) snapshot.longitudeRaw = HoldingByte(user, b, "9");
            if (user.field == &TimetableSettings::latitudePacked) snapshot.latitudeRaw = HoldingByte(user, b, "4");
            const bool refused = user.field == &TimetableSettings::town ? refusedInTown.find(b) != std::string::npos
                                                                        : b == ',' || b == '-';
            const std::string what = std::string(user.name) + " typed with byte " + std::to_string(byte);
            Timetable t = FilledTimetable();
            ASSERT_EQ(CheckInputs(snapshot, t.settings).passed, !refused) << what;
            if (!refused) ExpectShownAsTyped(t, user, what);
        }
    }
}

namespace {

bool ReaderInstalled() { return std::system("command -v soffice >/dev/null 2>&1") == 0; }

// The documents named in folder converted to UTF-8 text by the word
// processor in one run; their lines by name, nothing when it failed.
std::optional<std::map<std::string, std::vector<std::string>>> ShownByReader(const fs::path& folder,
                                                                             const std::vector<std::string>& names) {
    std::string command = "cd '" + folder.string() + "' && HOME='" + folder.string() +
                          "' soffice --headless -env:UserInstallation=file://" + folder.string() +
                          "/profile --infilter='Rich Text Format' --convert-to 'txt:Text (encoded):UTF8' --outdir out";
    for (const std::string& name : names) command += " '" + name + "'";
    if (std::system((command + " >/dev/null 2>&1").c_str()) != 0) return std::nullopt;
    std::map<std::string, std::vector<std::string>> shown;
    for (const std::string& name : names) {
        std::ifstream in(folder / "out" / fs::path(name).replace_extension(".txt"), std::ios::binary);
        if (!in) return std::nullopt;
        std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
        std::vector<std::string>& lines = shown[name];
        for (size_t start = 0; start < text.size();) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            std::string line = text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
            start = end + 1;
        }
    }
    return shown;
}

// The rows of the text file as the reader's UTF-8, and its last line.
void ExpectWholeDocument(const std::vector<std::string>& shown, Timetable& t, const std::string& what) {
    std::vector<std::string> textRows;
    for (const std::string& row : DayRows(TextTimetableLines(t))) textRows.push_back(Cp1252ToUtf8(row));
    EXPECT_EQ(DayRows(shown), textRows) << what;
    ASSERT_FALSE(shown.empty()) << what;
    EXPECT_EQ(shown.back().empty() ? shown[shown.size() - 2] : shown.back(),
              "        July       August     September   October     November    December")
        << what;
}

}  // namespace

// A word processor opens each document whole, in one run: converted to
// plain text, its rows are those of the text file and its last line is
// there. A town with braces; each typed text holding every byte from 1 to
// 255 (a packed coordinate all of them but the point before its own point);
// and the hyperlink field a longitude once smuggled in: each shown as typed,
// no field.
TEST(RtfTimetable, AWordProcessorShowsTheRowsAndEveryByteOfATypedTextAsTyped) {
    if (!ReaderInstalled())
        GTEST_SKIP() << "soffice is not installed (Debian package libreoffice-writer-nogui); "
                        "the RTF is not checked in a reader";
    fs::path folder = FreshFolder("rtf_reader_bytes");
    std::string everyByte;
    for (int byte = 1; byte <= 255; ++byte) everyByte += static_cast<char>(byte);
    std::string everyByteButPoint = everyByte;
    everyByteButPoint.erase(everyByteButPoint.find('.'), 1);

    std::map<std::string, Timetable> documents;
    Timetable& braces = documents["A}B{C.WRI"] = FilledTimetable(2004);
    braces.settings.town = "A}B{C";
    std::map<std::string, std::pair<const UserText*, std::string>> typed;
    for (const UserText& user : kUserTexts) {
        const std::string name = std::string(user.name) + ".WRI";
        Timetable& t = documents[name] = FilledTimetable(2004);
        t.settings.*user.field = user.field == &TimetableSettings::town ? everyByte : everyByteButPoint + ".1030";
        typed[name] = {&user, t.settings.*user.field};
    }
    const std::string field = "9{\\field{\\*\\fldinst HYPERLINK http://example/x}{\\fldrslt CLICK ME}}.1030";
    Timetable& link = documents["link.WRI"] = FilledTimetable(2004);
    const InputSnapshot snapshot{"2004", "INJ2", field, "48}}}.2040", "1", false, false, false, true};
    ASSERT_TRUE(CheckInputs(snapshot, link.settings).passed);
    std::vector<std::string> names;
    for (auto& [name, t] : documents) {
        ASSERT_TRUE(WriteFileBytes(folder / name, CrLfLines(RtfTimetableLines(t)))) << name;
        names.push_back(name);
    }

    auto shown = ShownByReader(folder, names);
    ASSERT_TRUE(shown) << "the word processor converted nothing";
    for (auto& [name, t] : documents) ExpectWholeDocument(shown->at(name), t, name);
    // The reader drops the control characters but the tab, and shows the
    // five bytes the code page leaves undefined as private-use characters.
    auto asShown = [](const std::string& text) {
        std::string shown;
        for (char c : text) {
            const unsigned char b = static_cast<unsigned char>(c);
            if (b < 0x20 && b != '\t') continue;
            if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) shown += "\xEF\x86" + std::string(1, static_cast<char>(b));
            else shown += Cp1252ToUtf8(std::string(1, c));
        }
        return shown;
    };
    for (auto& [name, user] : typed) {
        const std::string* line = StartingWith(shown->at(name), user.first->rtfStart);
        ASSERT_NE(line, nullptr) << name;
        EXPECT_TRUE(EndsWith(*line, asShown(user.first->shown(user.second)))) << name << ": " << *line;
    }
    const std::vector<std::string>& bracesLines = shown->at("A}B{C.WRI");
    EXPECT_NE(std::find(bracesLines.begin(), bracesLines.end(), "   Ort  = A}B{C"), bracesLines.end());
    EXPECT_NE(std::find(bracesLines.begin(), bracesLines.end(), Cp1252ToUtf8("   \xA9 2026 KELMORVEN Timings")),
              bracesLines.end());
    const std::vector<std::string>& linkLines = shown->at("link.WRI");
    EXPECT_NE(std::find(linkLines.begin(), linkLines.end(),
                        Cp1252ToUtf8("   Longitude east  =  9.000000\xB0 (10-mode)    =  9{\\field{\\*\\fldinst HYPERLINK "
                                     "http://example/x}{\\fldrslt CLICK ME}}\xB0" "10'30 '' (60-mode)")),
              linkLines.end());
    EXPECT_NE(std::find(linkLines.begin(), linkLines.end(),
                        Cp1252ToUtf8("   Latitude north = 48.000000\xB0 (10-mode)    = 48}}}\xB0" "20'40 '' (60-mode)")),
              linkLines.end());
    fs::remove_all(folder);
}
