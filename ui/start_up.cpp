#include "ui/start_up.h"

#include "files/text_file.h"
#include "text/dates.h"
#include "text/numbers.h"
#include "ui/main_window.h"
#include "ui/place_suggestions.h"
#include "ui/program.h"
#include "ui/start_values.h"
#include "window/window_layer.h"

std::string GreetingText(const std::string& userName, int hour, int minute, int second) {
    // Each later match replaces the earlier one.
    std::string phrase;
    if (hour < 24) phrase = " Good night ";
    if (hour < 20) phrase = " Good evening ";
    if (hour < 17) phrase = " Have a nice afternoon ";
    if (hour < 12) phrase = " Good morning ";
    const std::string time =
        FormatInteger(hour) + " : " + FormatInteger(minute) + " : " + FormatInteger(second);
    return phrase + userName + " ! The time is: " + time;
}

void ShowGreeting(Program& program) {
    WindowLayer& w = program.window;
    program.userName = w.UserName();
    const DateParts now = DatePartsOf(program.clock());
    program.greeting = GreetingText(program.userName, now.hour, now.minute, now.second);
    w.RegisterJpegDecoder();
    if (!w.WindowOpen(kGreetingWindow, 0, 0, 650, 430, kCaptionWithClose | kCentredOnScreen,
                      program.greeting))
        return;
    if (!w.WindowSelectForControls(kGreetingWindow)) return;
    // Shown at the picture's own size; the size given is not applied.
    if (w.PictureLoad(0, ResolveInFolder(program.folder, "DatenE/sunset.jpg")))
        w.PictureAdd(0, 10, 10, 100, 83, 0);
    w.Pause(6000);
}

void EndProgram(Program& program) {
    program.window.SoundRelease();
    program.window.WindowCloseAll();
}

int RunProgram(Program& program) {
    ShowGreeting(program);
    LoadPlaces(program);
    PrepareStartValues(program);
    if (BuildMainWindow(program)) RunMainLoop(program);
    EndProgram(program);
    return 0;
}
