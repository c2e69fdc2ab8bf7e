// The two conversions of a typed coordinate, by the window's mode.
#pragma once

#include <string>

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
