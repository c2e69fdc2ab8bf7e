// The program's course from its start to its end: greeting, main window,
// end steps.
#pragma once

#include <string>

struct Program;

// " Good morning " (hours 0-11), " Have a nice afternoon " (12-16),
// " Good evening " (17-19) or " Good night " (20-23), then the user name,
// " ! The time is: " and the time as "9 : 5 : 7" (no leading zeros).
std::string GreetingText(const std::string& userName, int hour, int minute, int second);

// Greets the user by name and time of day in window 0, 650 x 430, with the
// sunset picture of DatenE/sunset.jpg, for six seconds. A missing picture
// leaves the window empty for the same time.
void ShowGreeting(Program& program);

// Releases the sounds and closes every window, highest number first.
void EndProgram(Program& program);

// Greeting, start values, main window and its loop, end steps. The exit
// code, always 0.
int RunProgram(Program& program);
