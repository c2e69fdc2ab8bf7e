// The main window: its controls, its event loop and its commands.
#pragma once

#include <string>

struct Program;

// Window numbers. The greeting window and the main window share 0, so the
// main window replaces the greeting.
inline constexpr int kGreetingWindow = 0;
inline constexpr int kMainWindow = 0;
inline constexpr int kSummerTimeFlagWindow = 1;
inline constexpr int kInfoWindow = 3;
inline constexpr int kZoneMapWindow = 4;

// Control numbers, program-wide. 2, 3 and 27 are not used.
inline constexpr int kYearField = 0;
inline constexpr int kTownField = 6;
inline constexpr int kLongitudeField = 8;
inline constexpr int kEastOption = 9;
inline constexpr int kWestOption = 10;
inline constexpr int kLatitudeField = 12;
inline constexpr int kNorthOption = 13;
inline constexpr int kSouthOption = 14;
inline constexpr int kZoneField = 16;
inline constexpr int kSummerTimeBox = 17;
inline constexpr int kRunProgress = 19;
inline constexpr int kInfoButton = 20;
inline constexpr int kZoneMapButton = 21;
inline constexpr int kCalculateButton = 22;
inline constexpr int kTenModeOption = 23;
inline constexpr int kSixtyModeOption = 25;
inline constexpr int kAboutLine = 29;
inline constexpr int kStatusLine = 30;
inline constexpr int kDocumentLine = 31;
inline constexpr int kNewStartButton = 32;
inline constexpr int kExitButton = 33;
inline constexpr int kTextFileOption = 34;
inline constexpr int kRtfFileOption = 35;
// The places suggested under the town field.
inline constexpr int kPlaceSuggestionList = 37;
// Controls of the other windows, under numbers no main-window control uses.
inline constexpr int kInfoList = 60;
inline constexpr int kMapPicture = 61;
inline constexpr int kSummerTimeFlagDigit = 62;

// 54 blanks, then the name.
extern const std::string kMainWindowTitle;
// The first Comments line of a fresh window: year, publisher, version, programmer.
extern const std::string kAboutText;

// What a command asks of the event loop when it returns.
enum class CommandOutcome {
    Done,               // go on waiting in the same window
    RebuildMainWindow,  // build the main window afresh, then go on waiting
};

// Opens window 0 (replacing the one there) and creates every control at its
// place with its default; the five fields show the texts of the settings.
// False, after its message, when the window or the keyboard is not
// available: the program then ends.
bool BuildMainWindow(Program& program);

// Takes one event after the other until the quit flag is 1. A command that
// needs a fresh window returns here, and the window is rebuilt in this same
// loop, so no number of refusals stacks one loop on another.
void RunMainLoop(Program& program);
