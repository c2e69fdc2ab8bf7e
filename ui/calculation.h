// "CALCULATE": from the typed input to the written timetable document.
#pragma once

#include "input/settings.h"
#include "ui/main_window.h"

#include <string>

struct Program;

// The five field texts, the four choices and the document chosen, as the
// main window shows them.
InputSnapshot TakeInputSnapshot(Program& program);

// Shows the summer-time flag (0 or 1) in a small window of its own for three
// seconds, then closes it. No events are taken meanwhile.
void ShowSummerTimeFlag(Program& program, bool summerTimeChecked);

// Snapshot, flag display, checks, calendar and summer-time period, year run
// with the progress bar, today line, one document (text or RTF, as chosen)
// and the closing steps. A refused input or a document that cannot be
// written shows its message and asks the loop for a fresh main window.
CommandOutcome RunCalculation(Program& program);

// The closing steps after a document was written: four tones, the completion
// sound, the status text in the third Comments line, and the progress bar
// from 330 to 365 in steps of 30 ms.
void FinishTimetableRun(Program& program, const std::string& status);
