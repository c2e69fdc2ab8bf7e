#include "documents/document_file.h"

#include "runtime/text/text_file.h"

bool WriteDocumentLines(const std::filesystem::path& path, const std::vector<std::string>& lines,
                        TextFileBatch* batch) {
    TextFileWriter writer;
    if (!writer.Open(path)) return false;
    for (const std::string& line : lines) writer.WriteLine(line);
    return batch ? batch->Add(writer) : writer.Close();
}

bool WriteDocumentBytes(const std::filesystem::path& path, const std::string& bytes, TextFileBatch* batch) {
    TextFileWriter writer;
    if (!writer.Open(path)) return false;
    writer.Write(bytes);
    return batch ? batch->Add(writer) : writer.Close();
}
