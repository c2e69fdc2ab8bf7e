// A query typed in another script, written out in Latin letters, so that the
// search by name can try again where the place file has no name in that
// script.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The query (UTF-8) in plain Latin letters by ICU's "Any-Latin; Latin-ASCII"
// ("Москва" gives "Moskva", "Αθήνα" "Athena"). Han is read as Mandarin with
// its syllables joined ("北京" gives "beijing"; "東京" gives "dongjing", not
// Tokyo: a Japanese name needs its own entry). Nothing when the query holds
// no letter of another script, when it is not UTF-8, or when ICU writes
// nothing of it.
std::optional<std::string> TransliteratedQuery(std::string_view utf8);
