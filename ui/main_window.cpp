#include "ui/main_window.h"

#include "runtime/window/window_layer.h"
#include "ui/calculation.h"
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

    const TimetableSettings& s = program.timetable.settings;
    w.InputFieldAdd(kYearField, 150, 40, 70, 20, s.yearText, kDigitsOnly);
    w.LabelAdd(1, 40, 40, 80, 20, "Input Year", Alignment::Centre);
    w.LabelAdd(4, 25, 120, 170, 20, "Summer Time Changes", Alignment::Centre);
    w.LabelAdd(5, 30, 160, 110, 20, "Input Name Town", Alignment::Right);
    w.InputFieldAdd(kTownField, 150, 160, 190, 20, s.town, kUpperCase);
    w.LabelAdd(7, 40, 230, 80, 20, "Input Longitude");
    w.InputFieldAdd(kLongitudeField, 150, 230, 70, 20, s.longitudeText);
    w.OptionAdd(kEastOption, 240, 230, 47, 20, "east");
    w.OptionAdd(kWestOption, 290, 230, 47, 20, "west");
    w.ControlStateSet(kWestOption, 1);
    w.LabelAdd(11, 40, 270, 100, 20, "Input Latitude");
    w.InputFieldAdd(kLatitudeField, 150, 270, 70, 20, s.latitudeText);
    w.OptionAdd(kNorthOption, 240, 270, 47, 20, "north");
    w.OptionAdd(kSouthOption, 290, 270, 47, 20, "south");
    w.ControlStateSet(kNorthOption, 1);
    w.LabelAdd(15, 40, 380, 110, 20, "Input Time Zone");
    w.InputFieldAdd(kZoneField, 150, 380, 70, 20, s.zoneText);
    w.CheckBoxAdd(kSummerTimeBox, 180, 110, 37, 30, "Yes");
    w.ControlStateSet(kSummerTimeBox, 0);
    // The degree sign is byte 176 of code page 1252.
    w.LabelAdd(18, 40, 310, 200, 20, "e.g. input 9.1750 ..means 9\xB0" "10'30''");
    w.LabelAdd(24, 40, 330, 200, 20, "e.g. input 9.1030 ..means 9\xB0" "10'30''");
    w.OptionAdd(kTenModeOption, 240, 310, 90, 20, " 10 - Mode");
    w.OptionAdd(kSixtyModeOption, 240, 330, 90, 20, " 60 - Mode");
    w.ControlStateSet(kSixtyModeOption, 1);
    w.FrameAdd(26, 30, 200, 310, 160, "geogr. Coordinates");
    w.ProgressBarAdd(kRunProgress, 30, 430, 720, 30, 1, 365);
    const unsigned look = kToggle | kMultiLine;
    w.ButtonAdd(kNewStartButton, 660, 140, 90, 40, "NEW START", look);
    w.ButtonAdd(kInfoButton, 660, 200, 90, 40, "INFO", look);
    w.ButtonAdd(kZoneMapButton, 660, 260, 90, 40, "ZONE MAP", look);
    w.ButtonAdd(kCalculateButton, 660, 320, 90, 40, "CALCULATE", look);
    w.ButtonAdd(kExitButton, 660, 380, 90, 40, "EXIT", look);
    w.OptionAdd(kTextFileOption, 540, 330, 87, 15, " EDITOR.TXT");
    w.OptionAdd(kRtfFileOption, 540, 350, 87, 15, " WORD.WRI");
    w.ControlStateSet(kTextFileOption, 1);
    w.FrameAdd(28, 480, 30, 270, 90, "Comments");
    w.LabelAdd(kAboutLine, 490, 50, 250, 20, kAboutText);
    w.LabelAdd(kStatusLine, 490, 70, 250, 20, "");
    // Reaches beyond the window's right edge, which cuts its end.
    w.LabelAdd(kDocumentLine, 600, 90, 250, 20, "");
    w.FrameAdd(36, 520, 311, 125, 60, "editing format");
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
