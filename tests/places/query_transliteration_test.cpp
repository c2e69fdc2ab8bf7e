#include "places/query_transliteration.h"

#include <gtest/gtest.h>

// What the search tries again with when a query in another script names no
// place in that script; nothing where a second search would find nothing new.
TEST(QueryTransliteration, OtherScriptsInPlainLatinAndLatinQueriesLeftAlone) {
    struct Case {
        const char* query;
        std::optional<std::string> latin;
    };
    const Case cases[] = {
        {"Москва", "Moskva"},
        {"Санкт-Петербург", "Sankt-Peterburg"},
        {"Αθήνα", "Athena"},          // the tonos and the eta lose their marks
        {"北京", "beijing"},           // syllables joined into one word
        {"北京 Beijing", "bei jing Beijing"},  // joined only where all is Han
        {"서울", "seoul"},
        {"Zürich", std::nullopt},     // Latin already: the first search had it
        {"12, 3", std::nullopt},
        {"\xD0\x9C\xFF", std::nullopt},  // not UTF-8: read as code page 1252 elsewhere
    };
    for (const Case& c : cases) EXPECT_EQ(TransliteratedQuery(c.query), c.latin) << c.query;
}
