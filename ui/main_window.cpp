#include "ui/main_window.h"

#include "window/window_layer.h"
#include "ui/calculation.h"
#include "ui/main_window_controls.h"
#include "ui/place_suggestions.h"
#include "ui/program.h"
#include "ui/secondary_windows.h"
#include "ui/start_values.h"

const std::string kMainWindowTitle = std::string(54, ' ') + "Sunrise Sunset Timings (KELMORVEN)";
const std::string kAboutText = "\xA9 2004 KELMORVEN, V 1.0, by KELMORVEN team";

bool BuildMainWindow(Program& program) {
    WindowLayer& w = program.window;
    if (!w.WindowOpen(kMainWindow, 0, 0, 780, 498,
                      kCaptionWithClose | kSizable | kCentredOnActive | kCompactText, kMainWindowTitle)) {
        w.MessageShow("Achtung!", "It is not possible to open this window");
        return false;
    }
    if (!w.KeyboardInit()) {
        w.MessageShow("Achtung!", "No answer from keyboard");
        return false;
    }
    if (!w.WindowSelectForControls(kMainWindow)) return false;

    AddMainWindowControls(w, program.settings);
    AddPlaceSuggestionList(program);
    return true;
}

void RunMainLoop(Program& program) {
    WindowLayer& w = program.window;
    while (program.start.quit == 0) {
        CommandOutcome outcome = CommandOutcome::Done;
        EventKind kind = w.EventWait();
        if (kind == EventKind::CloseRequest) {
            program.start.quit = 1;
        } else if (kind == EventKind::ControlEvent) {
            switch (w.EventControl()) {
            case kExitButton:
                program.start.quit = 1;
                break;
            case kZoneMapButton:
                ShowZoneMapWindow(program);
                break;
            case kCalculateButton:
                outcome = RunCalculation(program);
                break;
            case kInfoButton:
                ShowInfoWindow(program);
                break;
            case kTownField:
                SuggestPlaces(program);
                break;
            case kPlaceSuggestionList:
                FillInChosenPlace(program);
                break;
            case kNewStartButton:
                PrepareStartValues(program);
                outcome = CommandOutcome::RebuildMainWindow;
                break;
            default:
                break;
            }
        }
        if (outcome == CommandOutcome::RebuildMainWindow && !BuildMainWindow(program))
            program.start.quit = 1;
    }
}
