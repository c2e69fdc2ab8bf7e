#include "table/table_files.h"

#include "documents/timetable_documents.h"
#include "files/text_file.h"
#include "calc/civil_time_zone.h"
#include "table/table_version.h"
#include "text/dates.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <new>
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
    constexpr std::chrono::sys_days kFirstDayOf3001{std::chrono::year{3001} / 1 / 1};
    if (options.format->needs.stamp && error.empty() && CalendarStamp(options) >= kFirstDayOf3001)
        error = "the calendar's stamp (--today or SOURCE_DATE_EPOCH) must lie before the year 3001";
    if (!error.empty() || timeZone.empty()) return error;
    if (!options.format->needs.timeZone)
        return "the documents (" + FormatWords(KeepsTheRule, ", ", ", ") +
               ") follow the zone and summer-time rule of the window program; a time zone goes with --format " +
               FormatWords(TakesTimeZone);
    if (options.summerTime) return "--summer-time does not go with a time zone: the time zone gives the summer time";
    return CivilTimeZone::Find(timeZone).error;
}

std::optional<std::chrono::sys_days> PrintedToday(const TableOptions& options) {
    using namespace std::chrono;
    // The wall-clock date, as the page names it.
    if (options.today) return sys_days{floor<days>(options.today->time_since_epoch())};
    // A build with a fixed epoch marks its date, not the machine's.
    if (std::optional<int64_t> epoch = SourceDateEpoch().seconds) return floor<days>(sys_seconds{seconds{*epoch}});
    return sys_days{floor<days>(CurrentDate().time_since_epoch())};
}

std::chrono::sys_seconds CalendarStamp(const TableOptions& options) {
    using namespace std::chrono;
    // The wall-clock date of --today taken as that date in UTC, at 00:00.
    if (options.today) return sys_days(year_month_day(floor<days>(*options.today)));
    if (std::optional<int64_t> epoch = SourceDateEpoch().seconds) return sys_seconds(seconds(*epoch));
    return floor<seconds>(system_clock::now());
}

OutputFile TableDocument(const TableOptions& options, const YearResult& year, const PrintedPlace& place) {
    RenderOptions render;
    if (options.format->needs.printed) {
        render.place = place;
        render.program = std::string("KELMORVEN Timings ") + kKelmorvenVersion;
        render.letterPaper = options.letterPaper;
        render.today = PrintedToday(options);
    }
    if (options.format->needs.stamp) render.stamp = CalendarStamp(options);
    if (options.format->needs.reminders) render.remindMinutes = options.remindMinutes;
    return MakeOutputFile(*options.format, year, render);
}

WriteOutcome WriteTableFile(const TableOptions& options, const YearResult& year, const std::filesystem::path& folder,
                            FileBatch* batch, const PrintedPlace& place) {
    try {
        return WriteOutputFile(TableDocument(options, year, place), folder, batch);
    } catch (const std::bad_alloc&) {
        return {ENOMEM};  // a render that ran out of memory writes nothing, and says so
    }
}
