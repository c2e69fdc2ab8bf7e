// A whole process's CPU time (user + system, from wait4), the median of
// many runs: kelmorven-table --version, a TXT year, and swe_year, the Swiss
// Ephemeris' rise_trans over the same year, as the measuring stick. The
// TXT year should take at most a quarter of swe_year's time.
//   process_cpu_bench [RUNS] [TOOL]   (TOOL: another kelmorven-table to measure)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// The child's CPU time in milliseconds, or a negative number when it failed.
double ChildCpuMilliseconds(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = 0;
    rusage usage{};
    if (::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

double MedianCpu(const std::vector<std::string>& command, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double t = ChildCpuMilliseconds(command);
        if (t < 0) {
            std::fprintf(stderr, "process_cpu_bench: %s failed\n", command[0].c_str());
            std::exit(1);
        }
        times.push_back(t);
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[runs / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 101;
    const std::string tool = argc > 2 ? argv[2] : KELMORVEN_TABLE_PATH;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("kelmorven_process_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);

    const double version = MedianCpu({tool, "--version"}, runs);
    const double txt = MedianCpu({tool, "--year", "2004", "--town", "TESTTOWN", "--longitude", "9", "--latitude",
                                  "48", "--east", "--ten-mode", "--zone", "1", "--summer-time", "--today",
                                  "2004-05-17", "--out", folder.string()},
                                 runs);
    const double peer = MedianCpu({KELMORVEN_SWE_YEAR_PATH, "2004", "9", "48", (folder / "swe_year.txt").string()}, runs);
    std::filesystem::remove_all(folder);

    std::printf("whole-process CPU time, median of %d runs (ms)\n", runs);
    std::printf("  kelmorven-table --version   %7.2f\n", version);
    std::printf("  kelmorven-table, TXT year   %7.2f\n", txt);
    std::printf("  swe_year, same year         %7.2f\n", peer);
    std::printf("  TXT year / swe_year         %7.2f (goal: at most 0.25)\n", txt / peer);
    return 0;
}
