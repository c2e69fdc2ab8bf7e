// Today's sunrise and sunset in the main window's first Comments line.
#pragma once

struct Program;

// Writes the today line of the year just calculated, for the day of the
// program's date value, into the first Comments line (AboutLine).
void ShowTodayLine(Program& program);
