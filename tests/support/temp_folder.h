// A fresh, empty folder for one test: under the system's temporary folder,
// named after the test's wish and the process, so that tests running at the
// same time never share one. Whatever an earlier run left there is removed.
#pragma once

#include <filesystem>
#include <string>
#include <unistd.h>

inline std::filesystem::path FreshFolder(const std::string& name) {
    std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                   ("kelmorven_" + name + "_" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}
