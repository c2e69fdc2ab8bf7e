// The main window's controls: one table, in the order of creation, from
// which the window is built and which the demonstration and the tests read.
#pragma once

#include "input/settings.h"
#include "window/window_layer.h"

#include <span>
#include <string>
#include <string_view>

enum class ControlType { Label, InputField, Option, CheckBox, Frame, ProgressBar, Button };

inline constexpr int kNoInitialState = -1;

// One control: its kind, number, place and size in the client area (pixels),
// and what it shows when the window is built.
struct MainWindowControl {
    ControlType type = ControlType::Label;
    int number = 0;
    int x = 0, y = 0, width = 0, height = 0;
    std::string_view caption;  // code page 1252; empty for input fields and the bar
    std::string TimetableSettings::*fieldText = nullptr;  // an input field's text
    Alignment alignment = Alignment::Left;                // of a label's text
    unsigned options = 0;                                 // FieldOption or ButtonOption bits
    int minimum = 0, maximum = 0;                         // of the progress bar
    int initialState = kNoInitialState;  // set right after the control is created
};

std::span<const MainWindowControl> MainWindowControls();

// Creates the table's controls in the window selected for controls, the
// input fields showing the texts of the settings, every other control at
// its default.
// The rule of the main window's input fields: no control character, and
// with kDigitsOnly only digits, with kUpperCase letters as capitals.
std::string MainWindowFieldFilter(std::string_view cp1252, unsigned options);

void AddMainWindowControls(WindowLayer& w, const TimetableSettings& settings);
