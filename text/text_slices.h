// Slices of code page 1252 texts, 1-based as the timetables count them.
#pragma once

#include <string>
#include <string_view>

// The first n characters (all when shorter; empty for n <= 0).
std::string TextSliceLeft(std::string_view text, long n);
// Up to n characters from the 1-based position start; empty beyond the end.
std::string TextSliceMiddle(std::string_view text, long start, long n);
// The last n characters (all when shorter; empty for n <= 0).
std::string TextSliceRight(std::string_view text, long n);

// 1-based position of the first occurrence of wanted at or after start (a
// start below 1 counts as 1); 0 when there is none or wanted is empty.
long FindText(std::string_view text, std::string_view wanted, long start = 1);

// The text without the blanks and tabs at either end.
std::string_view Trimmed(std::string_view text);

// Exactly width characters: the text right-aligned with blanks on the left,
// or its first width characters when longer. Empty for width < 1.
std::string RightAlign(std::string_view text, long width);
