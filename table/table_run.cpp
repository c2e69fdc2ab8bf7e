#include "table/table_run.h"

#include "calc/civil_time_zone.h"
#include "documents/print_back_end.h"
#include "input/batch_file.h"
#include "input/checks.h"
#include "input/field_text.h"
#include "files/text_file.h"
#include "table/document_output.h"
#include "table/place_choice.h"
#include "table/table_files.h"
#include "table/table_version.h"
#include "calc/zone_year.h"
#include "text/code_page.h"

#include <algorithm>
#include <map>
#include <optional>
#include <ostream>

namespace {

// A one-line field holds no control characters: those the window's fields
// refuse, in the code page the texts are checked in.
bool HasControlCharacter(const std::string& utf8) {
    const std::string text = Utf8ToCp1252(utf8);
    return std::any_of(text.begin(), text.end(), IsControlByte);
}

const char* ControlCharacterIn(const TablePlace& place) {
    if (HasControlCharacter(place.town)) return "the town";
    if (HasControlCharacter(place.longitude)) return "the longitude";
    if (HasControlCharacter(place.latitude)) return "the latitude";
    if (HasControlCharacter(place.zone)) return "the zone";
    return nullptr;
}

// Each line of text after prefix.
std::string Prefixed(const std::string& text, const std::string& prefix) {
    std::string lines;
    for (size_t at = 0; at < text.size();) {
        const size_t end = text.find('\n', at);
        lines += prefix + text.substr(at, end - at + 1);
        at = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

int UsageError(std::ostream& err, const std::string& error) {
    err << "kelmorven-table: " << error << "\n" << TableUsage();
    return kTableUsageError;
}

// A batch file that cannot be read is named in one line; its rows read so
// far have been made.
int BatchFileError(std::ostream& err, const std::string& path, const std::string& error) {
    err << "kelmorven-table: " << path << ": " << error << "\n";
    return kTableInputMissing;
}

int RunBatch(const TableOptions& options, DateValue today, std::ostream& out, std::ostream& err,
             const std::filesystem::path& dataFolder) {
    BatchReader reader;
    if (!reader.Open(*options.batchFile)) return BatchFileError(err, *options.batchFile, reader.Error());
    const Gazetteer gazetteer = reader.NamesPlaces() ? LoadToolGazetteer(dataFolder, err) : Gazetteer{};
    BatchDocuments documents(options, out, err);
    bool refused = false;
    std::map<std::string, int> documentLines;  // document name -> line of the row that made it
    for (BatchPlace row; reader.Next(row);) {
        const std::string prefix = *options.batchFile + " line " + std::to_string(row.line) + ": ";
        if (!row.error.empty()) {
            err << prefix << row.error << "\n";
            refused = true;
            continue;
        }
        TablePlace place{row.town, row.longitude, row.latitude, row.zone, row.west, row.south, row.timeZone, "", ""};
        const TableOptions* rowOptions = &options;
        PlaceChoice choice;
        if (!row.place.empty()) {
            choice = ChoosePlace(gazetteer, row.place, options, row.town);
            if (!choice.refusal.empty()) {
                err << prefix << choice.refusal << "\n";
                refused = true;
                continue;
            }
            out << Prefixed(choice.report, prefix);
            place = choice.place;
            rowOptions = &choice.options;
        }
        if (const char* where = ControlCharacterIn(place)) {
            err << prefix << where << " holds a control character\n";
            refused = true;
            continue;
        }
        const std::optional<YearResult> year = CalculatePlace(*rowOptions, place, err, prefix);
        if (!year) {
            refused = true;
            continue;
        }
        // Two rows of one document name would leave only the later one.
        const std::string name = OutputFileName(*options.format, year->Settings());
        if (const auto [earlier, first] = documentLines.emplace(name, row.line); !first) {
            err << prefix << name << ": the same document as line " << earlier->second << "\n";
            refused = true;
            continue;
        }
        documents.Add(*year, today, prefix, PrintedPlaceOf(place));
    }
    const bool allWritten = documents.Finish();
    if (!reader.Error().empty()) return BatchFileError(err, *options.batchFile, reader.Error());
    if (refused) return kTableRefused;
    return allWritten ? kTableWritten : kTableUnwritable;
}

// The place --place names, and its timetable.
int RunPlace(const TableOptions& options, DateValue today, std::ostream& out, std::ostream& err,
             const std::filesystem::path& dataFolder) {
    const Gazetteer gazetteer = LoadToolGazetteer(dataFolder, err);
    const PlaceChoice choice = ChoosePlace(gazetteer, *options.place, options);
    if (!choice.refusal.empty()) {
        err << "kelmorven-table: " << choice.refusal << "\n";
        return kTableRefused;
    }
    out << choice.report;
    if (const char* where = ControlCharacterIn(choice.place))
        return UsageError(err, std::string(where) + " holds a control character");
    return MakeTimetable(choice.options, choice.place, today, out, err);
}

int RunTableCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                    const std::filesystem::path& dataFolder) {
    ParsedOptions parsed = ParseTableOptions(arguments);
    const TableOptions& options = parsed.options;
    if (options.help) {
        out << TableUsage();
        return kTableWritten;
    }
    if (options.version) {
        out << "kelmorven-table " << kKelmorvenVersion << "\n";
        return kTableWritten;
    }
    if (!parsed.error.empty()) return UsageError(err, parsed.error);
    if (options.find) return ListPlaces(LoadToolGazetteer(dataFolder, err), *options.find, out, err);
    // An empty name is no zone either, not the absence of one.
    const std::string refusal = options.timeZone && options.timeZone->empty() ? CivilTimeZone::Find("").error
                                                                             : TimeBasisRefusal(options, options.timeZone.value_or(""));
    if (!refusal.empty()) {
        err << "kelmorven-table: " << refusal << "\n";
        return kTableUsageError;
    }
    const DateValue today = options.today ? *options.today : CurrentDate();
    // One start of the printing toolkit for every place of the run.
    std::optional<PrintBackEnd> printing;
    if (options.format->needs.printed) {
        printing.emplace();
        if (!printing->Ready()) {
            err << "kelmorven-table: " << printing->Error() << "\n";
            return kTableUnwritable;
        }
    }
    if (options.batchFile) return RunBatch(options, today, out, err, dataFolder);
    if (options.place) return RunPlace(options, today, out, err, dataFolder);

    TablePlace place{*options.town, *options.longitude, *options.latitude, options.zone,
                     options.west, options.south, options.timeZone.value_or(""), "", ""};
    if (const char* where = ControlCharacterIn(place))
        return UsageError(err, std::string(where) + " holds a control character");
    return MakeTimetable(options, place, today, out, err);
}

}  // namespace

InputSnapshot TableSnapshot(const TableOptions& options, const TablePlace& place) {
    InputSnapshot snapshot;
    snapshot.yearRaw = options.year;
    snapshot.townRaw = TownCapitals(Utf8ToCp1252(place.town));
    snapshot.longitudeRaw = Utf8ToCp1252(place.longitude);
    snapshot.latitudeRaw = Utf8ToCp1252(place.latitude);
    snapshot.zoneRaw = Utf8ToCp1252(place.zone);
    snapshot.summerTimeChecked = options.summerTime;
    snapshot.westChosen = place.west;
    snapshot.southChosen = place.south;
    snapshot.sixtyMode = options.sixtyMode;
    return snapshot;
}

std::optional<YearResult> CalculatePlace(const TableOptions& options, const TablePlace& place, std::ostream& err,
                                         const std::string& prefix) {
    if (std::string refusal = TimeBasisRefusal(options, place.timeZone); !refusal.empty()) {
        err << prefix << refusal << "\n";
        return std::nullopt;
    }
    TimetableSettings settings;
    CheckResult check = CheckInputs(TableSnapshot(options, place), settings);
    if (!check.passed) {
        err << prefix << Cp1252ToUtf8(check.title) << "\n" << prefix << Cp1252ToUtf8(check.text) << "\n";
        return std::nullopt;
    }
    if (place.timeZone.empty()) return CalculateYear(settings);
    const std::optional<CivilTimeZone> zone = CivilTimeZone::Find(place.timeZone).zone;
    if (!zone) return std::nullopt;  // refused above: TimeBasisRefusal
    // The printed year keeps each date's own solution in its cells; the
    // data list each moment on the date the zone's clock gives it.
    return YearInTimeZone(settings, *zone, place.timeZone,
                          options.format->needs.printed ? EventDates::Solved : EventDates::Local);
}

int MakeTimetable(const TableOptions& options, const TablePlace& place, DateValue today, std::ostream& out,
                  std::ostream& err, const std::string& prefix) {
    const std::optional<YearResult> year = CalculatePlace(options, place, err, prefix);
    if (!year) return kTableRefused;
    if (const WriteOutcome written = WriteTableDocument(options, *year, nullptr, PrintedPlaceOf(place)); !written) {
        err << UnwritableReport(prefix, DocumentPath(options, *year), written);
        return kTableUnwritable;
    }
    out << WrittenReport(options, *year, today);
    return kTableWritten;
}

int RunTableTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                 const std::filesystem::path& dataFolder) {
    int status = RunTableCommand(arguments, out, err, dataFolder);
    // The report is the last thing to fail: every document has been written
    // whatever became of it (a closed pipe, a full disk).
    if (!out.flush()) {
        err << "kelmorven-table: the report could not be written to standard output\n";
        if (status == kTableWritten) status = kTableReportLost;
    }
    return status;
}
