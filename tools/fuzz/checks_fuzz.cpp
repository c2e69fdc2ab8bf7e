// Any bytes as typed input: CheckInputs either refuses them with one of its
// fixed messages or accepts settings that the solver and the time cells can
// take without leaving the globe, the zones or the five-character cells.
#include "calc/sun_events.h"
#include "calc/summer_time.h"
#include "calc/year_run.h"
#include "input/checks.h"
#include "input/coordinates.h"
#include "tools/fuzz/fuzz_require.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

namespace {

// The titles CheckInputs may give.
const std::set<std::string> kTitles = {
    "Attention at longitude !",
    "Attention at latitude !",
    "Attention !",
    "Achtung bei Ort!",
    "Mistake with input number at coordinate longitude, especially after the comma!",
    "Mistake with input number at coordinate latitude, especially after the comma!",
    "Stop ",
    "Attention at time zone !",
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // First byte: the choices and a date; the rest: five fields split at
    // byte 0x1F (any other byte, NUL included, belongs to a field).
    const uint8_t choices = data[0];
    std::string fields[5];
    size_t field = 0;
    for (size_t i = 1; i < size; ++i) {
        if (data[i] == 0x1F && field < 4) {
            ++field;
        } else {
            fields[field].push_back(static_cast<char>(data[i]));
        }
    }
    InputSnapshot snapshot;
    snapshot.yearRaw = fields[0];
    snapshot.townRaw = fields[1];
    snapshot.longitudeRaw = fields[2];
    snapshot.latitudeRaw = fields[3];
    snapshot.zoneRaw = fields[4];
    snapshot.summerTimeChecked = choices & 1;
    snapshot.westChosen = choices & 2;
    snapshot.southChosen = choices & 4;
    snapshot.sixtyMode = choices & 8;

    // The conversions behind the checks, on every field in both modes.
    for (const std::string& text : fields) {
        (void)PackedToDegrees(text);
        (void)DegreesToPacked(text);
    }

    TimetableSettings settings;
    const CheckResult result = CheckInputs(snapshot, settings);
    Require(settings.town.size() <= 20);
    if (!result.passed) {
        Require(kTitles.count(result.title) == 1 && !result.text.empty());
        return 0;
    }
    Require(settings.year >= 1 && !settings.town.empty());
    Require(settings.longitude >= -180.0f && settings.longitude <= 180.0f);
    Require(settings.latitude >= -90.0f && settings.latitude <= 90.0f);
    Require(settings.zone >= -14.0f && settings.zone <= 14.0f);

    // One day of the accepted place, the date chosen by the upper bits.
    const LeapCheck leap = CheckLeapYear(settings.yearReal);
    const SummerTimePeriod period = ComputeSummerTimePeriod(settings.yearReal, leap.flag);
    const int month = 1 + (choices >> 4) % 12;
    const int day = 1 + (choices >> 4) % MonthLength(month, leap.flag);
    const std::string entry = ComputeDayEntry(
        ComputeDayCells(ComputeDayMoments(settings, period, month, day, DayOfYear(month, day, leap.flag))));
    Require(entry.size() == 11 && entry[5] == ' ');
    return 0;
}
