#include "documents/output_formats.h"

#include "documents/civil_moments.h"
#include "documents/data_formats.h"
#include "documents/document_file.h"
#include "documents/printed_formats.h"
#include "documents/timetable_documents.h"
#include "files/text_file.h"
#include "text/text_slices.h"

#include <array>

namespace {

std::string TextDocument(const YearResult& year, const RenderOptions&) {
    return CrLfLines(TextTimetableLines(year));
}

std::string RtfDocument(const YearResult& year, const RenderOptions&) {
    return CrLfLines(RtfTimetableLines(year));
}

DataYear DataYearOf(const YearResult& year) {
    return {year.Settings(), year.TimeZone(), CivilDays(year), year.Summer().springDay, year.Summer().autumnDay};
}

std::string CsvData(const YearResult& year, const RenderOptions&) { return CrLfLines(CsvLines(DataYearOf(year))); }

std::string JsonData(const YearResult& year, const RenderOptions&) { return CrLfLines(JsonLines(DataYearOf(year))); }

std::string IcsData(const YearResult& year, const RenderOptions& options) {
    return CrLfLines(IcsLines(DataYearOf(year), CalendarOptions{options.stamp, options.remindMinutes}));
}

// libical holds date-times up to the year 3000; a year's last sunset may fall on the next.
constexpr int kLastCalendarYear = 2999;
// ISO dates, as CSV and JSON write them, have four digits of year.
constexpr int kLastIsoYear = 9999;

const std::array<OutputFormat, 7> kFormats = {{
    {"txt", ".TXT", {}, TextDocument, "Year edited into text-file: "},
    {"rtf", ".WRI", {}, RtfDocument, "Year edited into RTF-file: "},
    {"csv", ".csv", {true, kLastIsoYear, false}, CsvData, ""},
    {"json", ".json", {true, kLastIsoYear, false}, JsonData, ""},
    {"ics", ".ics", {true, kLastCalendarYear, true, true}, IcsData, ""},
    {"pdf", ".pdf", {true, 0, true, false, true}, PrintedPdf, ""},
    {"svg", ".svg", {true, 0, false, false, true}, PrintedSvg, ""},
}};

}  // namespace

std::span<const OutputFormat> OutputFormats() { return kFormats; }

const OutputFormat* FindOutputFormat(std::string_view word) {
    for (const OutputFormat& format : kFormats)
        if (format.word == word) return &format;
    return nullptr;
}

const OutputFormat& TextDocumentFormat() { return kFormats[0]; }
const OutputFormat& RtfDocumentFormat() { return kFormats[1]; }

std::string FormatWords() {
    std::string words;
    for (size_t i = 0; i < kFormats.size(); ++i) {
        if (i > 0) words += i + 1 == kFormats.size() ? " or " : ", ";
        words += kFormats[i].word;
    }
    return words;
}

std::string OutputFileName(const OutputFormat& format, const TimetableSettings& settings) {
    return settings.town + std::string(format.ending);
}

const OutputFormat& DocumentFormat(DocumentKind kind) {
    return kind == DocumentKind::Rtf ? RtfDocumentFormat() : TextDocumentFormat();
}

TimetableDocument MakeTimetableDocument(const OutputFormat& format, const YearResult& result,
                                        const RenderOptions& options) {
    const TimetableSettings& s = result.Settings();
    return {OutputFileName(format, s), std::string(format.status) + TextSliceLeft(s.town, 13) + std::string(format.ending),
            format.render(result, options)};
}

WriteOutcome WriteTimetableDocument(const TimetableDocument& document, const std::filesystem::path& folder,
                            TextFileBatch* batch) {
    return WriteFileBytes(ResolveInFolder(folder, document.fileName), document.bytes, batch);
}
