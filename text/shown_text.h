// What the user gave, as a message repeats it: on one line, control bytes
// escaped, cut short.
#pragma once

#include <string>
#include <string_view>

// The longest part of the user's text that a message repeats.
inline constexpr std::size_t kShownTextLength = 60;

// Which bytes a message repeats as they are.
enum class ShownBytes {
    Letters,  // letters beyond ASCII stay: names people write
    Ascii,    // every byte beyond ASCII escaped too: names that are ASCII by rule, as a zone's
};

// text with \n, \t, \\ and \" escaped, other control bytes and DEL (and, for
// ShownBytes::Ascii, every byte beyond ASCII) as \xNN, cut after most bytes
// at a character's start, with "..." after a cut.
std::string ShownText(std::string_view text, std::size_t most = kShownTextLength,
                      ShownBytes kept = ShownBytes::Letters);
