#include "documents/output_formats.h"

#include "documents/civil_moments.h"
#include "documents/data_formats.h"
#include "documents/document_file.h"
#include "documents/printed_formats.h"
#include "documents/timetable_documents.h"
#include "files/text_file.h"
#include "text/text_slices.h"

#include <array>
#include <cstdlib>
#include <vector>

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

// The words of the two documents the window program writes, which it finds by them.
constexpr std::string_view kTextWord = "txt";
constexpr std::string_view kRtfWord = "rtf";

const std::array<OutputFormat, 7> kFormats = {{
    {kTextWord, ".TXT", {}, TextDocument, "Year edited into text-file: ", ""},
    {kRtfWord, ".WRI", {}, RtfDocument, "Year edited into RTF-file: ", ""},
    {"csv", ".csv", {.timeZone = true, .lastYear = kLastIsoYear}, CsvData, "", ""},
    {"json", ".json", {.timeZone = true, .lastYear = kLastIsoYear}, JsonData, "", ""},
    {"ics", ".ics", {.timeZone = true, .lastYear = kLastCalendarYear, .stamp = true, .reminders = true}, IcsData, "", ""},
    {"pdf", ".pdf", {.timeZone = true, .stamp = true, .printed = true}, PrintedPdf, "",
     "the year to print, its times and its chart on two A4 pages (US Letter with --paper letter)"},
    {"svg", ".svg", {.timeZone = true, .printed = true}, PrintedSvg, "", "the year's chart alone"},
}};

const OutputFormat& FormatOfWord(std::string_view word) {
    const OutputFormat* format = FindOutputFormat(word);
    if (!format) std::abort();  // a word of the table's own
    return *format;
}

}  // namespace

std::span<const OutputFormat> OutputFormats() { return kFormats; }

const OutputFormat* FindOutputFormat(std::string_view word) {
    for (const OutputFormat& format : kFormats)
        if (format.word == word) return &format;
    return nullptr;
}

const OutputFormat& TextDocumentFormat() {
    static const OutputFormat& format = FormatOfWord(kTextWord);
    return format;
}

const OutputFormat& RtfDocumentFormat() {
    static const OutputFormat& format = FormatOfWord(kRtfWord);
    return format;
}

std::string FormatWords(bool (*which)(const Needs&), std::string_view separator, std::string_view last) {
    std::vector<std::string_view> words;
    for (const OutputFormat& format : kFormats)
        if (!which || which(format.needs)) words.push_back(format.word);
    std::string text;
    for (size_t i = 0; i < words.size(); ++i) {
        if (i > 0) text += i + 1 == words.size() ? last : separator;
        text += words[i];
    }
    return text;
}

std::string OutputFileName(const OutputFormat& format, const TimetableSettings& settings) {
    return settings.town + std::string(format.ending);
}

const OutputFormat& DocumentFormat(DocumentKind kind) {
    return kind == DocumentKind::Rtf ? RtfDocumentFormat() : TextDocumentFormat();
}

OutputFile MakeOutputFile(const OutputFormat& format, const YearResult& result, const RenderOptions& options) {
    const TimetableSettings& s = result.Settings();
    return {OutputFileName(format, s), std::string(format.status) + TextSliceLeft(s.town, 13) + std::string(format.ending),
            format.render(result, options)};
}

WriteOutcome WriteOutputFile(const OutputFile& file, const std::filesystem::path& folder, FileBatch* batch) {
    return WriteFileBytes(ResolveInFolder(folder, file.fileName), file.bytes, batch);
}
