#include "documents/document_file.h"

#include "runtime/text/text_file.h"

bool WriteDocumentLines(const std::filesystem::path& path, const std::vector<std::string>& lines) {
    TextFileWriter writer;
    if (!writer.Open(path)) return false;
    for (const std::string& line : lines) writer.WriteLine(line);
    return writer.Close();
}
