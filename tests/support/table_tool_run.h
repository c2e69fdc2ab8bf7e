// Running kelmorven-table in process, and reading what it wrote.
#pragma once

#include "table/table_run.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

struct ToolRun {
    int status;
    std::string out, err;
};

inline ToolRun Tool(const std::vector<std::string>& arguments) {
    std::ostringstream out, err;
    int status = RunTableTool(arguments, out, err);
    return {status, out.str(), err.str()};
}

// The bytes of a file, empty when it cannot be read.
inline std::string Contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
