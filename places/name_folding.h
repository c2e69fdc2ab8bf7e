// Names as the search compares them: what a user types into the town field
// and what the place file spells must meet however either writes accents,
// umlauts or capitals.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A name folded for matching: small ASCII letters and digits, accents
// dropped, ß as ss, æ as ae, ø as o, þ as th and so on; apostrophes dropped;
// blanks, hyphens and other signs between words one blank, none at either
// end. With umlautsAsE, ä, ö and ü become ae, oe and ue, as the town field
// spells them. Letters of other scripts stay as small letters without their
// marks (Αθήνα as αθηνα). Input UTF-8 (invalid bytes are dropped), output
// UTF-8, ASCII for Latin letters.
std::string FoldForSearch(std::string_view utf8, bool umlautsAsE = false);

// Whether text is well-formed UTF-8 (no overlong form, surrogate or code
// point beyond U+10FFFF); text that is not is read as code page 1252.
bool IsUtf8(std::string_view text);

// A byte that tells spellings apart by their accents: the same for the same
// letters with the same accents, capitals aside; 0 for plain ASCII.
std::uint8_t AccentMark(std::string_view utf8);
