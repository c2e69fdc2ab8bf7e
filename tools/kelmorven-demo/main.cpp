// kelmorven-demo: one window with every kind of control of the window layer,
// the greeting picture and a message box. "CALCULATE" runs the progress bar
// with tones and the completion sound; "EXIT" or the close box ends it.
//
//   kelmorven-demo            (needs a display; the pictures and the sound
//                              come from DatenE beside the executable)
#include "files/text_file.h"
#include "window/window_layer.h"
#include "ui/main_window.h"
#include "ui/main_window_controls.h"

#include <cstdio>
#include <string>

namespace {

constexpr int kList = 60;

void AddControls(WindowLayer& w) {
    // The main window's controls at their sizes, so that captions can be
    // checked against them, with texts in the fields.
    TimetableSettings shown;
    shown.yearText = "2004";
    shown.town = "STRA\xDF" "BURG";
    shown.longitudeText = "7.4500";
    shown.latitudeText = "48.3500";
    shown.zoneText = "1";
    AddMainWindowControls(w, shown);
    w.ControlTextSet(kAboutLine, "Demonstration of the window layer");
    w.ControlTextSet(kDocumentLine, "a note cut off where the picture begins");

    // Beside them: the greeting picture and a line list.
    if (w.PictureLoad(0, ResolveInFolder(ProgramFolder(), "DatenE\\sunset.jpg"))) w.PictureAdd(70, 790, 10, 100, 83, 0);
    w.LineListAdd(kList, 790, 430, 630, 60);
    for (const char* line : {"Line lists keep their lines in the order added.", "",
                             "zebra", "apple",
                             "A line wider than the list is cut at the list's right edge, "
                             "without any sideways scrolling at all, however long it is."})
        w.LineListAppend(kList, line);
}

void RunProgress(WindowLayer& w) {
    w.ControlTextSet(kStatusLine, "running ...");
    for (int day = 1; day <= 365; ++day) {
        w.ControlStateSet(kRunProgress, day);
        w.Pause(7);
    }
    for (int frequency : {660, 880, 660, 990}) w.ToneBeep(frequency, 120);
    if (w.SoundInit() && w.SoundLoad(1, ResolveInFolder(ProgramFolder(), "DatenE\\Sound.wav"))) w.SoundPlay(1, 0);
    w.ControlTextSet(kStatusLine, "done");
}

}  // namespace

int main() {
    if (!WindowLayer::DisplayAvailable()) {
        std::fprintf(stderr, "kelmorven-demo: no display\n");
        return 1;
    }
    WindowLayer w;
    w.RegisterJpegDecoder();
    if (!w.WindowOpen(kMainWindow, 0, 0, 1430, 498,
                      kCaptionWithClose | kSizable | kCentredOnScreen | kCompactText,
                      "Window layer demonstration") ||
        !w.WindowSelectForControls(kMainWindow))
        return 1;
    AddControls(w);
    w.Pause(1000);  // the window on the screen, painted, before the box
    w.MessageShow("Achtung!",
                  "This message box has one OK button and no icon. Its text is long enough to "
                  "be wrapped onto several lines: about two hundred characters of it, shown whole "
                  "and in the order written.");
    for (;;) {
        EventKind kind = w.EventWait();
        if (kind == EventKind::CloseRequest) break;
        if (kind != EventKind::ControlEvent) continue;
        if (w.EventControl() == kExitButton) break;
        if (w.EventControl() == kCalculateButton) RunProgress(w);
    }
    w.SoundRelease();
    w.WindowCloseAll();
    return 0;
}
