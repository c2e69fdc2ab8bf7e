// kelmorven-table: sunrise and sunset timetables from the command line.
#include "files/file_replacement.h"
#include "table/table_run.h"

#include <csignal>
#include <iostream>

int main(int argc, char** argv) {
    // A reader that stops early (| head -1) must not end the run: a write to
    // a closed pipe then fails like any other, and every document is still
    // written.
    std::signal(SIGPIPE, SIG_IGN);
    RemoveHiddenFilesOnSignals();
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return RunTableTool(arguments, std::cout, std::cerr);
}
