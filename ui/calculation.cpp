#include "ui/calculation.h"

#include "calc/year_result.h"
#include "documents/timetable_documents.h"
#include "documents/today_line.h"
#include "files/text_file.h"
#include "input/checks.h"
#include "text/numbers.h"
#include "ui/program.h"
#include "window/window_layer.h"

InputSnapshot TakeInputSnapshot(Program& program) {
    const WindowLayer& w = program.window;
    InputSnapshot snapshot;
    snapshot.yearRaw = w.ControlTextGet(kYearField);
    snapshot.townRaw = w.ControlTextGet(kTownField);
    snapshot.longitudeRaw = w.ControlTextGet(kLongitudeField);
    snapshot.latitudeRaw = w.ControlTextGet(kLatitudeField);
    snapshot.zoneRaw = w.ControlTextGet(kZoneField);
    snapshot.summerTimeChecked = w.ControlStateGet(kSummerTimeBox) == 1;
    snapshot.westChosen = w.ControlStateGet(kWestOption) == 1;
    snapshot.southChosen = w.ControlStateGet(kSouthOption) == 1;
    snapshot.sixtyMode = w.ControlStateGet(kSixtyModeOption) == 1;
    // Nothing is handled between the snapshot and the writing, so the
    // document chosen now is the one written.
    snapshot.document =
        w.ControlStateGet(kTextFileOption) == 1 ? DocumentKind::Text : DocumentKind::Rtf;
    return snapshot;
}

void ShowSummerTimeFlag(Program& program, bool summerTimeChecked) {
    WindowLayer& w = program.window;
    if (w.WindowOpen(kSummerTimeFlagWindow, 0, 0, 320, 80,
                     kCaptionWithClose | kCentredOnScreen | kLargeText, "Summer Time Changes") &&
        w.WindowSelectForControls(kSummerTimeFlagWindow)) {
        // The digit fills the window, to be read from a step back.
        w.LabelAdd(kSummerTimeFlagDigit, 0, 0, 320, 80, FormatInteger(summerTimeChecked ? 1 : 0),
                   Alignment::Centre);
    }
    w.Pause(3000);
    w.WindowClose(kSummerTimeFlagWindow);
}

CommandOutcome RunCalculation(Program& program) {
    WindowLayer& w = program.window;
    TimetableSettings& settings = program.settings;

    const InputSnapshot snapshot = TakeInputSnapshot(program);
    ShowSummerTimeFlag(program, snapshot.summerTimeChecked);

    const CheckResult check = CheckInputs(snapshot, settings);
    if (!check.passed) {
        w.MessageShow(check.title, check.text);
        return CommandOutcome::RebuildMainWindow;
    }

    const YearResult& year = program.year.emplace(CalculateYear(
        settings,
        [&w](int progress) {
            w.ControlStateSet(kRunProgress, progress);
            w.Pause(7);
        },
        [&w](const std::string& status) { w.ControlTextSet(kStatusLine, status); }));

    // Today's line of the new table in place of the about text.
    w.ControlTextSet(kAboutLine, TodayLine(year, program.start.dateValue));

    const TimetableDocument document = MakeTimetableDocument(snapshot.document, year);
    if (!WriteTimetableDocument(document, program.folder)) {
        w.MessageShow(kCannotSaveTitle, kCannotSaveText);
        return CommandOutcome::RebuildMainWindow;
    }
    FinishTimetableRun(program, document.status);
    return CommandOutcome::Done;
}

void FinishTimetableRun(Program& program, const std::string& status) {
    WindowLayer& w = program.window;
    w.ToneBeep(1000, 100);
    w.ToneBeep(800, 100);
    w.ToneBeep(1200, 100);
    w.ToneBeep(1000, 100);
    if (w.SoundInit()) {
        w.SoundLoad(1, ResolveInFolder(program.folder, "DatenE/Sound.wav"));
        w.SoundPlay(1, 0);  // an empty slot stays silent
    }
    w.ControlTextSet(kDocumentLine, status);
    for (int v = 330; v <= 365; ++v) {
        w.ControlStateSet(kRunProgress, v);
        w.Pause(30);
    }
}
