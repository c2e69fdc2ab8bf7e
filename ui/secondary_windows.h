// The two secondary windows of the main window's commands. Each waits for a
// close request, from whichever of the program's windows it comes, drops
// every other event meanwhile, and closes itself.
#pragma once

struct Program;

// Window 3, "Info": the first 160 lines of DatenE/Info.txt in a line list,
// empty lines filling up a shorter file. An unreadable file leaves the list
// empty; the window still waits for its close.
void ShowInfoWindow(Program& program);

// Window 4, "Zeitzonenkarte": the map DatenE/Zeitzonenkarte.jpg at (10, 10).
// An unreadable map leaves the window plain; it still waits for its close.
void ShowZoneMapWindow(Program& program);
