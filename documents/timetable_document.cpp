// What tells the two documents apart: the ending of the file name, the
// wording of the status text and the lines.
#include "documents/document_file.h"
#include "documents/timetable_documents.h"

#include "runtime/text/conversions.h"
#include "runtime/text/text_file.h"

namespace {

struct DocumentFormat {
    const char* ending;        // of the file name
    const char* statusOpening; // before the town in the status text
    std::vector<std::string> (*lines)(Timetable&);
};

const DocumentFormat& FormatOf(DocumentKind kind) {
    static const DocumentFormat text{".TXT", "Year edited into text-file: ", TextTimetableLines};
    static const DocumentFormat rtf{".WRI", "Year edited into RTF-file: ", RtfTimetableLines};
    return kind == DocumentKind::Rtf ? rtf : text;
}

}  // namespace

std::string TimetableDocumentName(DocumentKind kind, const TimetableSettings& settings) {
    return settings.town + FormatOf(kind).ending;
}

TimetableDocument MakeTimetableDocument(DocumentKind kind, Timetable& timetable) {
    const DocumentFormat& format = FormatOf(kind);
    const TimetableSettings& s = timetable.settings;
    return {TimetableDocumentName(kind, s),
            format.statusOpening + TextSliceLeft(s.town, 13) + format.ending, format.lines(timetable)};
}

bool WriteTimetableDocument(const TimetableDocument& document, const std::filesystem::path& folder,
                            TextFileBatch* batch) {
    return WriteDocumentLines(ResolveInFolder(folder, document.fileName), document.lines, batch);
}
