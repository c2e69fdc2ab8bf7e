#include "ui/today_display.h"

#include "documents/today_line.h"
#include "runtime/window/window_layer.h"
#include "ui/main_window.h"
#include "ui/program.h"

void ShowTodayLine(Program& program) {
    program.window.ControlTextSet(kAboutLine, TodayLine(program.timetable, program.start.dateValue));
}
