// The two timetable documents of a calculated year: a plain-text file
// ("TOWN.TXT", 122 lines) and an RTF file ("TOWN.WRI", 123 lines), code page
// 1252, every line ended by CR LF.
#pragma once

#include "calc/year_result.h"
#include "documents/output_formats.h"
#include "files/text_file.h"

#include <filesystem>
#include <string>
#include <vector>

// The message when a document cannot be written.
inline constexpr const char* kCannotSaveTitle = "Attention !";
inline constexpr const char* kCannotSaveText =
    "Can not save datas. Same file already in use? or saving medium not ready? or with used "
    "signs at town input you windows has a problem to create a file name? or name to long? "
    "mostly total new start!";

// The lines of each document, without line ends; the cells of codes that
// name no date of the year are blank.
std::vector<std::string> TextTimetableLines(const YearResult& result);
std::vector<std::string> RtfTimetableLines(const YearResult& result);

// A typed text for the RTF (the town, the packed coordinates): "\", "{"
// and "}" get a backslash before them, so a town name such as "A{B}" shows
// as typed and keeps the groups whole; every other byte stays as it is.
std::string RtfEscape(const std::string& text);

// The row of the document the window's choice names.
const OutputFormat& DocumentFormat(DocumentKind kind);

inline OutputFile MakeOutputFile(DocumentKind kind, const YearResult& result) {
    return MakeOutputFile(DocumentFormat(kind), result);
}
