// kelmorven: the window program of KELMORVEN Timings.
#include "files/text_file.h"
#include "window/window_layer.h"
#include "ui/program.h"
#include "ui/start_up.h"

#include <cstdio>

int main() {
    if (!WindowLayer::DisplayAvailable()) {
        std::fputs("kelmorven needs a display; kelmorven-table, beside it, writes timetables without one.\n",
                   stderr);
        return 1;
    }
    RemoveHiddenFilesOnSignals();
    WindowLayer window;
    Program program(window, ProgramFolder());
    return RunProgram(program);
}
