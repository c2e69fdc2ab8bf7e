#include "documents/timetable_values.h"

#include "calc/sun_events.h"
#include "text/numbers.h"
#include "text/text_slices.h"

#include <cmath>

std::string YearText(float yearReal) { return FormatInteger(std::lround(yearReal)); }

std::string DegreeText(float degrees) { return FormatReal(std::fabs(degrees)); }

std::string SixtyModeText(const std::string& packed) {
    long p = FindText(packed, ".", 1);
    if (p == 0) return packed + kDegreeSign;
    return TextSliceLeft(packed, p - 1) + kDegreeSign + TextSliceMiddle(packed, p + 1, 2) + "'" +
           TextSliceMiddle(packed, p + 3, 2) + " ''";
}

std::string ZoneText(float zone) { return TextSliceLeft(FormatReal(zone), 5); }

namespace {

// The publisher line, with the document's one copyright sign (byte 0xA9).
constexpr const char* kPublisherLine = "   \xA9 2026 KELMORVEN Timings";

std::string SummerTimeLine(const TimetableSettings& settings, const SummerTimePeriod& period) {
    if (settings.summerTime != 1) return "   no summertime changes included at calculation !";
    const std::string year = YearText(settings.yearReal);
    return "   Summer Time Changes calculated from " + FormatInteger(period.springMonth) + "." +
           FormatInteger(period.springDay) + "." + year + " To " + FormatInteger(period.autumnMonth) +
           "." + FormatInteger(period.autumnDay) + "." + year;
}

}  // namespace

std::vector<std::string> HeaderLines(const YearResult& result, const HeaderWording& wording) {
    const TimetableSettings& s = result.Settings();
    const std::string year = YearText(s.yearReal);
    const std::string reference = result.Entry(517);
    return {
        wording.year + year,
        wording.town + wording.typed(s.town),
        (s.longitudeSide == 1 ? wording.east : "   Longitude west =  ") + DegreeText(s.longitude) +
            kDegreeSign + " (10-mode)    =  " + wording.typed(SixtyModeText(s.longitudePacked)) + " (60-mode)",
        (s.latitudeSide == 1 ? "   Latitude north = " : "   Latitude south = ") +
            DegreeText(s.latitude) + kDegreeSign + " (10-mode)    = " +
            wording.typed(SixtyModeText(s.latitudePacked)) + " (60-mode)",
        "   Time difference to Greenwich Mean Time =" + ZoneText(s.zone) +
            (s.zone == 1.0f ? " hour(s) =MEZ" : " hour(s)"),
        SummerTimeLine(s, result.Summer()),
        "   sun's centre at true geocentric horizon by " + FormatReal(HorizonAltitude) +
            " degrees (KELMORVEN)",
        "   At the Date 05.17." + year + wording.sunrise + TimeText(SunriseCell(reference)) +
            wording.sunset + TimeText(SunsetCell(reference)) + "sec",
        kPublisherLine,
    };
}

std::string TimingsLine(const TimetableSettings& settings) {
    return "    Timings/ Longitude " + DegreeText(settings.longitude) + kDegreeSign +
           " (10-mode)/ Latitude " + DegreeText(settings.latitude) + kDegreeSign + " (10-mode)";
}

std::string TimeText(const std::string& cell) {
    return TextSliceMiddle(cell, 1, 1) + "h" + TextSliceMiddle(cell, 2, 2) + "min" +
           TextSliceMiddle(cell, 4, 2);
}

std::string SunriseCell(const std::string& entry) { return TextSliceMiddle(entry, 1, 5); }

std::string SunsetCell(const std::string& entry) { return TextSliceMiddle(entry, 7, 5); }

std::string DayNumberText(int day) { return RightAlign(FormatInteger(day), 2) + ". "; }
