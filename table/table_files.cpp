#include "table/table_files.h"

#include "documents/timetable_documents.h"
#include "files/text_file.h"
#include "calc/civil_time_zone.h"

#include <cstdlib>
#include <ctime>
#include <optional>

namespace {

struct EpochSetting {
    std::optional<int64_t> seconds;  // nothing when unset or wrong
    std::string error;               // why a value set is no whole number of seconds
};

EpochSetting SourceDateEpoch() {
    const char* value = std::getenv("SOURCE_DATE_EPOCH");
    if (!value) return {};
    const std::string text = value;
    if (text.empty() || text.size() > 15 || text.find_first_not_of("0123456789") != std::string::npos)
        return {std::nullopt, "SOURCE_DATE_EPOCH must be whole seconds since 1970, not \"" + text + "\""};
    return {std::stoll(text), ""};
}

}  // namespace

std::string TimeBasisRefusal(const TableOptions& options, const std::string& timeZone) {
    std::string error = options.format->needs.stamp ? SourceDateEpoch().error : "";
    // libical writes no stamp after the year 3000 but zeros.
    constexpr int64_t kFirstSecondOf3001 = 32535216000;
    if (options.format->needs.stamp && error.empty() && CalendarStamp(options) >= kFirstSecondOf3001)
        error = "the calendar's stamp (--today or SOURCE_DATE_EPOCH) must lie before the year 3001";
    if (!error.empty() || timeZone.empty()) return error;
    if (!options.format->needs.timeZone)
        return "the documents (txt, rtf) follow the zone and summer-time rule of the window program; "
               "a time zone goes with --format csv, json, ics, pdf or svg";
    if (options.summerTime) return "--summer-time does not go with a time zone: the time zone gives the summer time";
    return CivilTimeZone::Find(timeZone).error;
}

int64_t CalendarStamp(const TableOptions& options) {
    if (options.today) return *options.today;  // a date value at midnight, read as UTC
    if (std::optional<int64_t> epoch = SourceDateEpoch().seconds) return *epoch;
    return static_cast<int64_t>(std::time(nullptr));
}

TimetableDocument TableDocument(const TableOptions& options, const YearResult& year, const std::string& country) {
    RenderOptions render;
    if (options.format->needs.printed) render.country = country;
    if (options.format->needs.stamp) render.stamp = CalendarStamp(options);
    if (options.format->needs.reminders) render.remindMinutes = options.remindMinutes;
    return MakeTimetableDocument(*options.format, year, render);
}

WriteOutcome WriteTableFile(const TableOptions& options, const YearResult& year, const std::filesystem::path& folder,
                    TextFileBatch* batch, const std::string& country) {
    return WriteTimetableDocument(TableDocument(options, year, country), folder, batch);
}
