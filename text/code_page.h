// Code page 1252, the program's 8-bit texts, and UTF-8.
#pragma once

#include <string>
#include <string_view>

// Code page 1252 and UTF-8, for texts that cross to the system (file names,
// command lines, the window toolkit). A character that code page 1252 cannot
// hold becomes '?'; bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D, which it leaves
// undefined, map to the control characters of the same number.
std::string Cp1252ToUtf8(std::string_view text);
std::string Utf8ToCp1252(std::string_view text);
