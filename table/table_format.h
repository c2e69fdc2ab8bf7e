// What kelmorven-table writes: one of the two timetable documents, or the
// year's moments as data.
#pragma once

#include "input/settings.h"

#include <optional>
#include <string>

enum class TableFormat {
    Text,  // TOWN.TXT, the plain-text timetable
    Rtf,   // TOWN.WRI, the RTF timetable
    Csv,   // TOWN.csv
    Json,  // TOWN.json
    Ics,   // TOWN.ics, iCalendar
    Pdf,   // TOWN.pdf, the year's grid and chart to print
    Svg,   // TOWN.svg, the year chart
};

// Whether the format is drawn by the printing library.
bool IsPrinted(TableFormat format);

// The format of a --format word: txt, rtf, csv, json, ics, pdf or svg.
std::optional<TableFormat> ParseTableFormat(const std::string& word);

// The timetable document the format names; nothing for a data format.
std::optional<DocumentKind> DocumentOf(TableFormat format);
