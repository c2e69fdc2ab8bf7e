// Writing a rendered file.
#pragma once

#include "files/text_file.h"

#include <filesystem>
#include <string>
#include <vector>

// The lines, each followed by CR LF, as a file holds them.
std::string CrLfLines(const std::vector<std::string>& lines);

// Writes bytes to path through TextFileWriter, so an earlier file of that
// name is replaced whole or, on any failure, kept as it was. True when the
// whole file reached its name. With a batch, the file is only written into
// it: true then says it was written, and the batch's Commit says whether it
// reached its name.
WriteOutcome WriteFileBytes(const std::filesystem::path& path, const std::string& bytes, TextFileBatch* batch = nullptr);
