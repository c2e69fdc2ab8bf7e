// The date text and the start values of the main window.
#pragma once

struct Program;

// Takes today's date from the program's clock, makes the date text
// ("%yyyy,%mm,%dd") and sets the five field texts to their starting values:
// the current year, empty town and coordinates, time zone "0". The year
// table and every other result of earlier calculations stay.
void PrepareStartValues(Program& program);
