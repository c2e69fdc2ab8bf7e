#include "table/table_format.h"

std::optional<TableFormat> ParseTableFormat(const std::string& word) {
    if (word == "txt") return TableFormat::Text;
    if (word == "rtf") return TableFormat::Rtf;
    if (word == "csv") return TableFormat::Csv;
    if (word == "json") return TableFormat::Json;
    if (word == "ics") return TableFormat::Ics;
    return std::nullopt;
}

bool IsDocument(TableFormat format) { return format == TableFormat::Text || format == TableFormat::Rtf; }
