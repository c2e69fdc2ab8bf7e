#include "ui/secondary_windows.h"

#include "files/text_file.h"
#include "window/window_layer.h"
#include "ui/main_window.h"
#include "ui/program.h"

namespace {

constexpr int kInfoLineCount = 160;

void WaitForCloseRequest(WindowLayer& w) {
    while (w.EventWait() != EventKind::CloseRequest) {
    }
}

}  // namespace

void ShowInfoWindow(Program& program) {
    WindowLayer& w = program.window;
    if (!w.WindowOpen(kInfoWindow, 129, 3, 722, 695, kCaptionWithClose | kSizable, "Info")) return;
    if (!w.WindowSelectForControls(kInfoWindow)) {
        w.WindowClose(kInfoWindow);
        return;
    }
    w.LineListAdd(kInfoList, 20, 10, 680, 670);
    TextFileReader reader;
    if (reader.Open(ResolveInFolder(program.folder, "DatenE/Info.txt"))) {
        for (int n = 1; n <= kInfoLineCount; ++n) program.infoLines[n] = reader.ReadLine();
        reader.Close();
        for (int n = 1; n <= kInfoLineCount; ++n) w.LineListAppend(kInfoList, program.infoLines[n]);
    }
    WaitForCloseRequest(w);
    w.WindowClose(kInfoWindow);
}

void ShowZoneMapWindow(Program& program) {
    WindowLayer& w = program.window;
    if (!w.WindowOpen(kZoneMapWindow, 0, 0, 1020, 707, kCaptionWithClose | kCentredOnScreen,
                      "Zeitzonenkarte"))
        return;
    if (!w.WindowSelectForControls(kZoneMapWindow)) {
        w.WindowClose(kZoneMapWindow);
        return;
    }
    if (w.PictureLoad(0, ResolveInFolder(program.folder, "DatenE/Zeitzonenkarte.jpg")))
        w.PictureAdd(kMapPicture, 10, 10, 1000, 687, 0);
    WaitForCloseRequest(w);
    w.WindowClose(kZoneMapWindow);
}
