// A small RTF reader for checking documents without a word processor: the
// paragraphs as a reader shows their text, the control words met, and
// whether the groups close exactly with the document's last brace.
#pragma once

#include <cctype>
#include <set>
#include <string>
#include <utility>
#include <vector>

// The control words of the timetable's RTF; a user's text adds none.
inline const std::set<std::string> kTimetableRtfControls = {
    "rtf1", "ansi", "ansicpg1252", "deff0", "fonttbl", "f0", "fnil", "fcharset0", "\\*", "generator",
    "viewkind4", "uc1", "pard", "lang1031", "fs18", "par", "b", "b0"};

struct RtfReading {
    std::vector<std::string> paragraphs;  // text shown, one entry per "\par" and the rest after it
    std::set<std::string> controls;       // control words with their numbers ("fs18"), other symbols ("\*")
    bool groupsClosedAtEnd = false;       // no brace left open, none closed too early
};

inline RtfReading ReadRtf(const std::string& bytes) {
    RtfReading reading;
    std::string shown;
    int depth = 0;
    int hiddenFrom = 0;          // depth of a font table or "\*" group whose text is not shown; 0 none
    bool groupStart = false;     // just after "{": a destination word may follow
    bool closedEarly = false;
    bool ended = false;          // the outermost group is closed
    auto hideGroup = [&] {
        if (groupStart && hiddenFrom == 0) hiddenFrom = depth;
    };
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') continue;  // line ends are not text
        if (ended) {
            closedEarly = true;  // text or groups after the last brace
            break;
        }
        if (c == '{') {
            ++depth;
            groupStart = true;
            continue;
        }
        if (c == '}') {
            if (depth == hiddenFrom) hiddenFrom = 0;
            if (--depth == 0) ended = true;
            groupStart = false;
            continue;
        }
        if (c != '\\') {
            groupStart = false;
            if (depth == 0) closedEarly = true;
            else if (hiddenFrom == 0) shown += c;
            continue;
        }
        if (i + 1 >= bytes.size()) break;
        const char next = bytes[++i];
        if (std::isalpha(static_cast<unsigned char>(next))) {
            std::string word(1, next);
            while (i + 1 < bytes.size() && std::isalpha(static_cast<unsigned char>(bytes[i + 1]))) word += bytes[++i];
            if (i + 1 < bytes.size() && bytes[i + 1] == '-') word += bytes[++i];
            while (i + 1 < bytes.size() && std::isdigit(static_cast<unsigned char>(bytes[i + 1]))) word += bytes[++i];
            if (i + 1 < bytes.size() && bytes[i + 1] == ' ') ++i;  // the delimiting blank
            reading.controls.insert(word);
            if (word == "fonttbl") hideGroup();
            if (word == "par" && hiddenFrom == 0) reading.paragraphs.push_back(std::exchange(shown, {}));
        } else if (next == '\\' || next == '{' || next == '}') {
            if (hiddenFrom == 0) shown += next;  // an escaped character
        } else {
            // Any other symbol; a backslash before a line end is a paragraph.
            reading.controls.insert(std::string("\\") + (next == '\r' || next == '\n' ? "<line end>" : std::string(1, next)));
            if (next == '*') hideGroup();
        }
        groupStart = false;
    }
    reading.paragraphs.push_back(shown);
    reading.groupsClosedAtEnd = ended && !closedEarly && depth == 0;
    return reading;
}
