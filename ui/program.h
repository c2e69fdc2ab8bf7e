// The window program's state: everything that lives from start-up to the
// end, in one record that each operation is given by reference.
#pragma once

#include "calc/year_result.h"
#include "text/dates.h"
#include "ui/place_suggestions.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

class WindowLayer;

// What every run of the main window begins from.
struct StartValues {
    std::string dateText;    // "%yyyy,%mm,%dd" of dateValue, e.g. "2004,03,14"
    DateValue dateValue = 0; // the local date and time the date text was made from
    uint8_t quit = 0;        // 1 ends the main window's loop
};

struct Program {
    Program(WindowLayer& window, std::filesystem::path folder)
        : window(window), folder(std::move(folder)) {}

    WindowLayer& window;
    // The executable's folder: the documents are written here and the data
    // folder DatenE is read from here.
    std::filesystem::path folder;
    // The local date and time now; tests put the program on a chosen day.
    std::function<DateValue()> clock = CurrentDate;

    TimetableSettings settings;              // the input as last read and checked
    std::optional<YearResult> year;          // the year calculated last, kept until the next
    StartValues start;
    PlaceSuggestions places;                 // the gazetteer and the town field's suggestions
    std::array<std::string, 202> infoLines;  // lines of the information text, 1 to 160 used
    std::string userName;
    std::string greeting;                    // the greeting window's title
};
