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
    // The entry packaging/install-desktop-entry writes; on X11 the windows'
    // class, "kelmorven" after the program, is named in it as StartupWMClass.
    WindowLayer::SetDesktopEntry("org.kelmorven.timings");
    Program program(window, ProgramFolder());
    return RunProgram(program);
}
