// kelmorven-demo: one window with every kind of control of the window layer,
// the greeting picture and a message box. "CALCULATE" runs the progress bar
// with tones and the completion sound; "EXIT" or the close box ends it.
//
//   kelmorven-demo            (needs a display; the pictures and the sound
//                              come from DatenE beside the executable)
#include "runtime/text/text_file.h"
#include "runtime/window/window_layer.h"

#include <cstdio>
#include <string>

namespace {

constexpr int kWindow = 0;
constexpr int kCalculate = 22;
constexpr int kExit = 33;
constexpr int kProgress = 19;
constexpr int kList = 60;
constexpr int kStatus = 30;

void AddControls(WindowLayer& w) {
    // The main window's controls at their sizes, so that captions can be
    // checked against them.
    w.InputFieldAdd(0, 150, 40, 70, 20, "2004", kDigitsOnly);
    w.LabelAdd(1, 40, 40, 80, 20, "Input Year", Alignment::Centre);
    w.LabelAdd(4, 25, 120, 170, 20, "Summer Time Changes", Alignment::Centre);
    w.LabelAdd(5, 30, 160, 110, 20, "Input Name Town", Alignment::Right);
    w.InputFieldAdd(6, 150, 160, 190, 20, "STRA\xDF" "BURG", kUpperCase);
    w.LabelAdd(7, 40, 230, 80, 20, "Input Longitude");
    w.InputFieldAdd(8, 150, 230, 70, 20, "7.4500");
    w.OptionAdd(9, 240, 230, 47, 20, "east");
    w.OptionAdd(10, 290, 230, 47, 20, "west");
    w.ControlStateSet(9, 1);
    w.LabelAdd(11, 40, 270, 100, 20, "Input Latitude");
    w.InputFieldAdd(12, 150, 270, 70, 20, "48.3500");
    w.OptionAdd(13, 240, 270, 47, 20, "north");
    w.OptionAdd(14, 290, 270, 47, 20, "south");
    w.ControlStateSet(13, 1);
    w.LabelAdd(15, 40, 380, 110, 20, "Input Time Zone");
    w.InputFieldAdd(16, 150, 380, 70, 20, "1");
    w.CheckBoxAdd(17, 180, 110, 37, 30, "Yes");
    w.LabelAdd(18, 40, 310, 200, 20, "e.g. input 9.1750 ..means 9\xB0" "10'30''");
    w.LabelAdd(24, 40, 330, 200, 20, "e.g. input 9.1030 ..means 9\xB0" "10'30''");
    w.OptionAdd(23, 240, 310, 90, 20, " 10 - Mode");
    w.OptionAdd(25, 240, 330, 90, 20, " 60 - Mode");
    w.ControlStateSet(25, 1);
    w.FrameAdd(26, 30, 200, 310, 160, "geogr. Coordinates");
    w.ProgressBarAdd(kProgress, 30, 430, 720, 30, 1, 365);
    w.ButtonAdd(32, 660, 140, 90, 40, "NEW START", kToggle | kMultiLine);
    w.ButtonAdd(20, 660, 200, 90, 40, "INFO", kToggle | kMultiLine);
    w.ButtonAdd(21, 660, 260, 90, 40, "ZONE MAP", kToggle | kMultiLine);
    w.ButtonAdd(kCalculate, 660, 320, 90, 40, "CALCULATE", kToggle | kMultiLine);
    w.ButtonAdd(kExit, 660, 380, 90, 40, "EXIT", kToggle | kMultiLine);
    w.OptionAdd(34, 540, 330, 87, 15, " EDITOR.TXT");
    w.OptionAdd(35, 540, 350, 87, 15, " WORD.WRI");
    w.ControlStateSet(34, 1);
    w.FrameAdd(28, 480, 30, 270, 90, "Comments");
    w.LabelAdd(29, 490, 50, 250, 20, "Demonstration of the window layer");
    w.LabelAdd(kStatus, 490, 70, 250, 20, "");
    w.LabelAdd(31, 600, 90, 250, 20, "a note cut off where the picture begins");
    w.FrameAdd(36, 520, 311, 125, 60, "editing format");

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
    w.ControlTextSet(kStatus, "running ...");
    for (int day = 1; day <= 365; ++day) {
        w.ControlStateSet(kProgress, day);
        w.Pause(7);
    }
    for (int frequency : {660, 880, 660, 990}) w.ToneBeep(frequency, 120);
    if (w.SoundInit() && w.SoundLoad(1, ResolveInFolder(ProgramFolder(), "DatenE\\Sound.wav"))) w.SoundPlay(1, 0);
    w.ControlTextSet(kStatus, "done");
}

}  // namespace

int main() {
    if (!WindowLayer::DisplayAvailable()) {
        std::fprintf(stderr, "kelmorven-demo: no display\n");
        return 1;
    }
    WindowLayer w;
    w.RegisterJpegDecoder();
    if (!w.WindowOpen(kWindow, 0, 0, 1430, 498, kCaptionWithClose | kSizable | kCentredOnScreen,
                      "Window layer demonstration") ||
        !w.WindowSelectForControls(kWindow))
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
        if (w.EventControl() == kExit) break;
        if (w.EventControl() == kCalculate) RunProgress(w);
    }
    w.SoundRelease();
    w.WindowCloseAll();
    return 0;
}
