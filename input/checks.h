// The checks of the typed input, with their fixed messages, and the two
// coordinate conversions.
#pragma once

#include "input/settings.h"

#include <string>

struct CheckResult {
    bool passed = false;
    std::string title;  // of the message box, when refused
    std::string text;
};

// Checks the snapshot in the fixed order and fills settings. On a refusal
// the field texts of settings already hold the new texts, so a rebuilt
// window shows what was typed.
CheckResult CheckInputs(const InputSnapshot& snapshot, TimetableSettings& settings);

// A coordinate converted from its typed text.
struct Coordinate {
    std::string packed;  // degrees "." two digits of minutes, two of seconds
    float degrees = 0.0f;
};

// 60-mode: the text is packed degrees-minutes-seconds ("9.1030" is 9°10'30'').
// The packed text is the typed text cut to four digits after the point.
Coordinate PackedToDegrees(const std::string& text);

// 10-mode: the text is decimal degrees; the packed text is made from it in
// the six-decimal shape ("9.1750" gives "9.103000").
Coordinate DegreesToPacked(const std::string& text);
