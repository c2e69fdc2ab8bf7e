#include "table/table_files.h"

#include "documents/document_file.h"
#include "documents/timetable_documents.h"
#include "runtime/text/text_file.h"
#include "table/civil_moments.h"
#include "calc/civil_time_zone.h"
#include "table/data_formats.h"

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

std::string TableFileName(TableFormat format, const TimetableSettings& settings) {
    if (const std::optional<DocumentKind> document = DocumentOf(format))
        return TimetableDocumentName(*document, settings);
    if (format == TableFormat::Csv) return settings.town + ".csv";
    if (format == TableFormat::Json) return settings.town + ".json";
    return settings.town + ".ics";
}

std::string TimeBasisRefusal(const TableOptions& options, const std::string& timeZone) {
    std::string error = options.format == TableFormat::Ics ? SourceDateEpoch().error : "";
    // libical writes no stamp after the year 3000 but zeros.
    constexpr int64_t kFirstSecondOf3001 = 32535216000;
    if (options.format == TableFormat::Ics && error.empty() && CalendarStamp(options) >= kFirstSecondOf3001)
        error = "the calendar's stamp (--today or SOURCE_DATE_EPOCH) must lie before the year 3001";
    if (!error.empty() || timeZone.empty()) return error;
    if (DocumentOf(options.format))
        return "the documents (txt, rtf) follow the zone and summer-time rule of the window program; "
               "a time zone goes with --format csv, json or ics";
    if (options.summerTime) return "--summer-time does not go with a time zone: the time zone gives the summer time";
    return CivilTimeZone::Find(timeZone).error;
}

int64_t CalendarStamp(const TableOptions& options) {
    if (options.today) return *options.today;  // a date value at midnight, read as UTC
    if (std::optional<int64_t> epoch = SourceDateEpoch().seconds) return *epoch;
    return static_cast<int64_t>(std::time(nullptr));
}

bool WriteTableFile(const TableOptions& options, const std::string& timeZone, Timetable& timetable,
                    const std::filesystem::path& folder, TextFileBatch* batch) {
    if (const std::optional<DocumentKind> document = DocumentOf(options.format))
        return WriteTimetableDocument(MakeTimetableDocument(*document, timetable), folder, batch);
    const std::filesystem::path path = ResolveInFolder(folder, TableFileName(options.format, timetable.settings));

    DataYear year{timetable.settings, timeZone, {}, timetable.summer.springDay, timetable.summer.autumnDay};
    if (timeZone.empty()) {
        year.days = MomentsByZoneRule(timetable);
    } else {
        const std::optional<CivilTimeZone> zone = CivilTimeZone::Find(timeZone).zone;
        if (!zone) return false;  // refused before: TimeBasisRefusal
        year.days = MomentsInTimeZone(timetable, *zone);
        FillYearTable(year.days, timetable.table);
    }
    std::vector<std::string> lines;
    if (options.format == TableFormat::Csv) lines = CsvLines(year);
    if (options.format == TableFormat::Json) lines = JsonLines(year);
    if (options.format == TableFormat::Ics) lines = IcsLines(year, CalendarOptions{CalendarStamp(options), options.remindMinutes});
    return WriteDocumentLines(path, lines, batch);
}
