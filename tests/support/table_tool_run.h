// Running kelmorven-table in process; Contents() reads what it wrote.
#pragma once

#include "table/table_run.h"
#include "tests/support/file_contents.h"

#include <filesystem>
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


