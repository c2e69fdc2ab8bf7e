// kelmorven-table: sunrise and sunset timetables from the command line.
#include "table/table_run.h"

#include <iostream>

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return RunTableTool(arguments, std::cout, std::cerr);
}
