#include "documents/document_file.h"

#include "files/text_file.h"

std::string CrLfLines(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) bytes.append(line).append("\r\n");
    return bytes;
}

WriteOutcome WriteFileBytes(const std::filesystem::path& path, const std::string& bytes, FileBatch* batch) {
    FileWriter writer;
    if (!writer.Open(path)) return writer.Opened();
    writer.Write(bytes);
    return batch ? batch->Add(writer) : writer.Close();
}
