// The typed input of one calculation and the checked settings made from it.
#pragma once

#include <cstdint>
#include <string>

// The two timetable documents: " EDITOR.TXT" (plain text, TOWN.TXT) and
// " WORD.WRI" (RTF, TOWN.WRI).
enum class DocumentKind { Text, Rtf };

// The field texts (code page 1252) and choices as read from the main window.
struct InputSnapshot {
    std::string yearRaw;
    std::string townRaw;
    std::string longitudeRaw;
    std::string latitudeRaw;
    std::string zoneRaw;
    bool summerTimeChecked = false;
    bool westChosen = false;
    bool southChosen = false;
    bool sixtyMode = false;
    DocumentKind document = DocumentKind::Text;
};

// The checked input, from which the calendar, the solver, the year run and
// the documents take everything. Lives for the whole run of the program.
struct TimetableSettings {
    std::string yearText;          // the year field's text as last read
    int16_t year = 0;
    float yearReal = 0.0f;
    std::string town;              // at most 20 characters
    std::string longitudeText;     // field texts as last read
    std::string latitudeText;
    std::string zoneText = "0";
    std::string longitudePacked;   // degrees "." minutes seconds, for the documents
    float longitude = 0.0f;        // decimal degrees, east positive
    int8_t longitudeSide = 1;      // +1 east, -1 west
    std::string latitudePacked;
    float latitude = 0.0f;         // decimal degrees, north positive
    int32_t latitudeSide = 1;      // +1 north, -1 south
    float zone = 0.0f;             // hours zone time is ahead of Greenwich
    uint8_t summerTime = 0;        // 1 when summer-time changes are included
};
