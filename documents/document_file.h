// Writing a rendered file.
#pragma once

#include "files/text_file.h"

#include <filesystem>
#include <string>
#include <vector>

// The lines, each followed by CR LF, as a file holds them.
std::string CrLfLines(const std::vector<std::string>& lines);

// Writes bytes to path through FileWriter, so an earlier file of that
// name is replaced whole or, on any failure, kept as it was. The outcome is
// true when the whole file reached its name, else false with the reason.
// With a batch, the file is only written into it: true then says it was
// written, and the batch's Commit says whether it reached its name.
WriteOutcome WriteFileBytes(const std::filesystem::path& path, const std::string& bytes, FileBatch* batch = nullptr);
