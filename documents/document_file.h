// Writing a built document to its file.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

class TextFileBatch;

// Writes each line followed by CR LF to path through TextFileWriter, so an
// earlier file of that name is replaced whole or, on any failure, kept as it
// was. True when the whole document reached its name. With a batch, the
// document is only written into it: true then says it was written, and the
// batch's Commit says whether it reached its name.
bool WriteDocumentLines(const std::filesystem::path& path, const std::vector<std::string>& lines,
                        TextFileBatch* batch = nullptr);

// The same for a document's bytes as they stand (a PDF, an SVG).
bool WriteDocumentBytes(const std::filesystem::path& path, const std::string& bytes, TextFileBatch* batch = nullptr);
