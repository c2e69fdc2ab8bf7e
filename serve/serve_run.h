// The whole of kelmorven-serve but its main: options, data, routes, the
// server, and its end on SIGTERM or SIGINT.
#pragma once

#include "files/text_file.h"

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

// Exit statuses.
inline constexpr int kServeStopped = 0;
inline constexpr int kServeUsageError = 64;
inline constexpr int kServeCannotListen = 69;

// How long the requests in flight may take to finish after SIGTERM.
inline constexpr double kServeGraceSeconds = 5.0;

// Runs the service until SIGTERM or SIGINT: arguments after the program
// name, the data folder beside the program. The first line on err names the
// address it serves on.
int RunServe(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
             const std::filesystem::path& dataFolder = ProgramFolder() / "DatenE");
