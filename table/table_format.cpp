#include "table/table_format.h"

std::optional<TableFormat> ParseTableFormat(const std::string& word) {
    if (word == "txt") return TableFormat::Text;
    if (word == "rtf") return TableFormat::Rtf;
    if (word == "csv") return TableFormat::Csv;
    if (word == "json") return TableFormat::Json;
    if (word == "ics") return TableFormat::Ics;
    if (word == "pdf") return TableFormat::Pdf;
    if (word == "svg") return TableFormat::Svg;
    return std::nullopt;
}

bool IsPrinted(TableFormat format) { return format == TableFormat::Pdf || format == TableFormat::Svg; }

std::optional<DocumentKind> DocumentOf(TableFormat format) {
    if (format == TableFormat::Text) return DocumentKind::Text;
    if (format == TableFormat::Rtf) return DocumentKind::Rtf;
    return std::nullopt;
}
