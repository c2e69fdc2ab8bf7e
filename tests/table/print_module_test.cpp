// The batch tool with no printing module beside it: the printed formats are
// refused with the module's path and the reason, the others written as ever.
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/wait.h>

namespace fs = std::filesystem;

TEST(PrintModule, MissingOneRefusesOnlyThePrintedFormats) {
    const fs::path folder = FreshFolder("print_module");
    fs::copy_file(KELMORVEN_TABLE_PATH, folder / "kelmorven-table");
    const struct { const char* format; int status; } cases[] = {{"pdf", 3}, {"svg", 3}, {"txt", 0}, {"csv", 0}};
    for (const auto& c : cases) {
        const std::string command = (folder / "kelmorven-table").string() +
                                    " --year 2026 --town ULM --longitude 9 --latitude 48 --zone 1 --format " +
                                    c.format + " --out " + folder.string() + " >/dev/null 2>" + (folder / "err").string();
        const int status = std::system(command.c_str());
        std::stringstream err;
        err << std::ifstream(folder / "err").rdbuf();
        EXPECT_EQ(WEXITSTATUS(status), c.status) << c.format << ": " << err.str();
        if (c.status == 0) continue;
        EXPECT_NE(err.str().find("the printing module " + (folder / "kelmorven_print.so").string() +
                                 " cannot be opened (cannot open shared object file: No such file or directory)"),
                  std::string::npos) << err.str();
    }
    fs::remove_all(folder);
}
