#include "input/field_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

TEST(FieldEntry, ControlCharactersEnterNoFieldAndEachRuleKeepsItsOwnPart) {
    struct Case {
        std::string given;  // code page 1252
        unsigned rules;
        std::string entered;
    } cases[] = {
        {"AB\nCD", 0, "ABCD"},
        {"a\r\tb\x1B\x7F" "c", 0, "abc"},
        {"x\0y"s, 0, "xy"},
        {"\x81\x8D\x8F\x90\x9D" "\x80\x8A", 0, "\x80\x8A"},  // the undefined bytes go, € and Š stay
        {"9.1030 -", 0, "9.1030 -"},
        {"20a\n2 6", kFieldDigitsOnly, "2026"},
        {"\xB2\xB3", kFieldDigitsOnly, ""},  // superscript digits are no digits
        {"ulm\n", kFieldCapitals, "ULM"},
        {"stra\xDF" "e", kFieldCapitals, "STRA\xDF" "E"},
        {"1a", kFieldDigitsOnly | kFieldCapitals, "1"},
    };
    for (const Case& c : cases) EXPECT_EQ(FieldEntry(c.given, c.rules), c.entered) << c.given;
}

}  // namespace
