// The town as the main window's town field holds it: letters turned into
// capitals as they are typed.
#pragma once

#include <string>

// A code page 1252 text with its small letters made capitals: a-z, the
// Latin-1 letters à-þ (not ÷), š, œ, ž and ÿ. ß has no capital and stays ß,
// as does µ; every other byte is kept.
std::string TownCapitals(std::string cp1252);
