// Writing a built document to its file.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Writes each line followed by CR LF to path through TextFileWriter, so an
// earlier file of that name is replaced whole or, on any failure, kept as it
// was. True when the whole document reached its name.
bool WriteDocumentLines(const std::filesystem::path& path, const std::vector<std::string>& lines);
