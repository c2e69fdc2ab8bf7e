// Names as the search compares them: what a user types into the town field
// and what the place file spells must meet however either writes accents,
// umlauts or capitals.
#pragma once

#include <string>
#include <string_view>

// A name folded for matching: small ASCII letters and digits, accents
// dropped, ß as ss, æ as ae, ø as o, þ as th and so on; apostrophes dropped;
// blanks, hyphens and other signs between words one blank, none at either
// end. With umlautsAsE, ä, ö and ü become ae, oe and ue, as the town field
// spells them. Input UTF-8 (invalid bytes are dropped), output ASCII.
std::string FoldForSearch(std::string_view utf8, bool umlautsAsE = false);
