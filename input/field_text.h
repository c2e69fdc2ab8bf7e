// What may enter an input field of the main window, whichever way it comes
// (typed, pasted or dropped), and the town's capitals, which the batch tool
// applies to its towns as the town field does.
#pragma once

#include <string>
#include <string_view>

// A code page 1252 text with its small letters made capitals: a-z, the
// Latin-1 letters à-þ (not ÷), š, œ, ž and ÿ. ß has no capital and stays ß,
// as does µ; every other byte is kept.
std::string TownCapitals(std::string cp1252);

// Rules of a field, combined with |.
enum FieldRule : unsigned {
    kFieldDigitsOnly = 1u << 0,  // only 0-9 enter
    kFieldCapitals = 1u << 1,    // letters enter as their capitals
};

// A control character of code page 1252: bytes 0-31 and 127, and 0x81,
// 0x8D, 0x8F, 0x90 and 0x9D, which the code page leaves to the controls.
bool IsControlByte(char cp1252);

// The part of a code page 1252 text that enters a field with these rules:
// control characters never enter any field.
std::string FieldEntry(std::string_view cp1252, unsigned rules);
