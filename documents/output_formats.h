// The output formats of a calculated year, one row each, shared by the
// window program and kelmorven-table: the option parser, the usage text,
// the file name and the writer all read this table. A new format is one
// row here and one render function.
#pragma once

#include "calc/year_result.h"
#include "files/text_file.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// What a format asks of a run beyond the year.
struct Needs {
    bool timeZone = false;   // may render the civil time of an IANA zone (--time-zone)
    int lastYear = 0;        // the last year it can hold; 0 for any
    bool stamp = false;      // a stamp: the calendar's DTSTAMP, the PDF's creation date
    bool reminders = false;  // may carry reminders (--remind)
    bool printed = false;    // drawn by the printing toolkit, which a run starts once for all its files
};

// The place a printed title names: one taken by name keeps its full name
// there, while the documents and the file name keep the town of at most 20
// characters; a typed place has neither field.
struct PrintedPlace {
    std::string name;     // the place's name (UTF-8), "Santiago de Compostela"; empty: the year's town
    std::string country;  // its country; empty when unknown
};

// What a render reads besides the year.
struct RenderOptions {
    std::chrono::sys_seconds stamp{};   // an instant (DTSTAMP, creation date)
    std::optional<int> remindMinutes;   // an alarm that many minutes before each moment
    PrintedPlace place;                 // for a printed title
    std::optional<std::chrono::sys_days> today;  // the date a printed year marks as today
    std::string program = "KELMORVEN Timings";  // the printed footer's program and version
    bool letterPaper = false;           // a PDF on US Letter instead of A4
};

// The bytes of the file: code page 1252 for the documents, UTF-8 for the
// data, every line ended by CR LF; a PDF or an SVG as drawn.
using Render = std::string (*)(const YearResult& year, const RenderOptions& options);

struct OutputFormat {
    std::string_view word;      // as typed after --format: "txt"
    std::string_view ending;    // of the file name: ".TXT"
    Needs needs;
    Render render;
    std::string_view status;    // the window's status text before the town, for a document it writes
    std::string_view help;      // what the format holds, for the usage text, where its needs do not say it
};

// Every format, in the order the usage text names them; the first is the default.
std::span<const OutputFormat> OutputFormats();

// The row of a --format word; nothing for an unknown word.
const OutputFormat* FindOutputFormat(std::string_view word);

// The rows of the two timetable documents the window program offers,
// found by their words.
const OutputFormat& TextDocumentFormat();
const OutputFormat& RtfDocumentFormat();

// The words of the formats whose needs pass which (every format without
// it), in the table's order, joined by separator and the last two by last:
// "txt, rtf, csv, json, ics, pdf or svg", for the usage text and the messages.
std::string FormatWords(bool (*which)(const Needs&) = nullptr, std::string_view separator = ", ",
                        std::string_view last = " or ");

// The formats that render the civil time of a time zone, and those that do not.
inline bool TakesTimeZone(const Needs& needs) { return needs.timeZone; }
inline bool KeepsTheRule(const Needs& needs) { return !needs.timeZone; }
inline bool CarriesReminders(const Needs& needs) { return needs.reminders; }

// The file's name (code page 1252): the town and the format's ending.
std::string OutputFileName(const OutputFormat& format, const TimetableSettings& settings);

// One file of a calculated year in one format of the table, ready to write:
// a timetable document, a data file or a printed year.
struct OutputFile {
    std::string fileName;  // the town and the format's ending (code page 1252)
    std::string status;    // shown once written: "Year edited into text-file: ",
                           // the first 13 characters of the town, ".TXT"
                           // (the RTF: "RTF-file", ".WRI")
    std::string bytes;     // the file's content
};

OutputFile MakeOutputFile(const OutputFormat& format, const YearResult& result, const RenderOptions& options = {});

// Writes the file into folder under its name; an outcome that is false
// (with its reason) when it cannot be written, in which case an earlier file
// of that name is kept. With a batch, only into the batch, whose Commit then
// says whether it reached its name.
WriteOutcome WriteOutputFile(const OutputFile& file, const std::filesystem::path& folder, FileBatch* batch = nullptr);
