#include "ui/start_values.h"

#include "text/dates.h"
#include "text/text_slices.h"
#include "ui/program.h"

void PrepareStartValues(Program& program) {
    program.start.dateValue = program.clock();
    program.start.dateText = FormatDate("%yyyy,%mm,%dd", program.start.dateValue);
    TimetableSettings& settings = program.settings;
    settings.yearText = TextSliceLeft(program.start.dateText, 4);
    settings.town.clear();
    settings.longitudeText.clear();
    settings.latitudeText.clear();
    settings.zoneText.assign(1, '0');  // not = "0": GCC 12 warns falsely on that (-Wrestrict)
}
