// The checks of the typed input, with their fixed messages.
#pragma once

#include "input/settings.h"

#include <string>

struct CheckResult {
    bool passed = false;
    std::string title;  // of the message box, when refused
    std::string text;
};

// Checks the snapshot in the fixed order and fills settings. On a refusal
// the field texts of settings already hold the new texts, so a rebuilt
// window shows what was typed.
CheckResult CheckInputs(const InputSnapshot& snapshot, TimetableSettings& settings);
