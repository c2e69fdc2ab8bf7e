// Any bytes as a batch file: the reader takes it a row at a time, keeps no
// row beyond its limit, numbers the rows in order and reads each into a
// place or says why not. Every place the checks accept gives both
// documents, and the RTF one closes its groups with its last brace and
// holds no control word the user typed.
#include "documents/timetable_documents.h"
#include "documents/timetable_values.h"
#include "calc/year_result.h"
#include "input/checks.h"
#include "tools/fuzz/fuzz_require.h"
#include "input/batch_file.h"
#include "table/table_run.h"
#include "tests/support/rtf_reading.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

namespace {

const std::set<std::string> kRowErrors = {"a quote is not closed", "east_west must be east or west",
                                          "north_south must be north or south",
                                          "zone and time_zone exclude each other: the time zone gives the offset"};


// The paragraph that begins with start ends with the text, as a reader shows it.
bool ShownAs(const RtfReading& reading, const std::string& start, std::string text) {
    text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }), text.end());
    for (const std::string& paragraph : reading.paragraphs) {
        if (paragraph.rfind(start, 0) != 0) continue;
        return paragraph.size() >= start.size() + text.size() &&
               paragraph.compare(paragraph.size() - text.size(), text.size(), text) == 0;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // First byte: the options and the row limit, from just above the
    // header's length, short enough for the fuzzer to pass it; the rest:
    // the file.
    const uint8_t choices = data[0];
    const size_t limit = 52 + (choices >> 3);
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    TableOptions options;
    options.year = "2026";
    options.sixtyMode = choices & 1;
    options.summerTime = choices & 2;

    BatchReader reader(limit);
    if (!reader.OpenText(text)) {
        Require(!reader.Error().empty());
        return 0;
    }
    const int lastLineOfText = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
    int lastLine = 1;  // the header
    for (BatchPlace place; reader.Next(place);) {
        Require(place.line > lastLine && place.line <= lastLineOfText);
        lastLine = place.line;
        if (!place.error.empty()) {
            Require(kRowErrors.count(place.error) == 1 || place.error.find(" fields, not ") != std::string::npos ||
                    place.error == "is longer than " + std::to_string(limit) + " bytes");
            continue;
        }
        Require(place.town.size() + place.longitude.size() + place.latitude.size() + place.zone.size() <= limit);
        const TablePlace typed{place.town,  place.longitude, place.latitude, place.zone,
                               place.west, place.south,     place.timeZone, "", ""};
        TimetableSettings settings;
        if (!CheckInputs(TableSnapshot(options, typed), settings).passed) continue;

        const YearResult year = CalculateYear(settings);
        Require(TextTimetableLines(year).size() == 122);
        const std::vector<std::string> rtf = RtfTimetableLines(year);
        Require(rtf.size() == 123);
        std::string bytes;
        for (const std::string& line : rtf) bytes += line + "\r\n";
        const RtfReading reading = ReadRtf(bytes);
        Require(reading.groupsClosedAtEnd);
        for (const std::string& control : reading.controls) Require(kTimetableRtfControls.count(control) == 1);
        // The typed texts shown as typed, but for the line ends a reader drops.
        const TimetableSettings& s = settings;
        Require(ShownAs(reading, "   Ort  = ", s.town));
        Require(ShownAs(reading, "   Longitude ", SixtyModeText(s.longitudePacked) + " (60-mode)"));
        Require(ShownAs(reading, "   Latitude ", SixtyModeText(s.latitudePacked) + " (60-mode)"));
    }
    Require(reader.Error().empty());
    return 0;
}
