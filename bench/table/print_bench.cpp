// The printed year: the CPU time of one place's PDF (target: at most
// 100 ms), in process as each place of a batch and as a whole process with
// the toolkit's start, and the memory of a batch of 1,000 places as PDF,
// which must not grow with the number of places.
#include "documents/print_back_end.h"
#include "table/table_run.h"
#include "tests/support/many_places.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

extern char** environ;

namespace {

fs::path BenchFolder(const char* name) {
    const fs::path folder = fs::temp_directory_path() / (std::string(name) + std::to_string(::getpid()));
    fs::create_directories(folder);
    return folder;
}

std::vector<std::string> OnePlace(const fs::path& folder, const std::string& format) {
    return {"--year", "2026", "--town", "ULM", "--longitude", "9", "--latitude", "48", "--east", "--ten-mode",
            "--zone", "1", "--summer-time", "--format", format, "--out", folder.string(), "--today", "2026-05-17"};
}

// As a place of a batch: the toolkit started once, before.
void BM_OnePlaceInProcess(benchmark::State& state, const std::string& format) {
    const PrintBackEnd printing;
    const fs::path folder = BenchFolder("kelmorven_bench_print_");
    const std::vector<std::string> arguments = OnePlace(folder, format);
    for (auto _ : state) {
        std::ostringstream out, err;
        if (RunTableTool(arguments, out, err) != kTableWritten) state.SkipWithError(err.str().c_str());
    }
    fs::remove_all(folder);
}
BENCHMARK_CAPTURE(BM_OnePlaceInProcess, pdf, std::string("pdf"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OnePlaceInProcess, svg, std::string("svg"))->Unit(benchmark::kMillisecond);

double ChildrenCpuMilliseconds() {
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// kelmorven-table --format pdf as its own process: its CPU time, the
// toolkit's start included, as the counter cpu_ms.
void BM_OnePdfProcess(benchmark::State& state) {
    const fs::path folder = BenchFolder("kelmorven_bench_print_process_");
    std::vector<std::string> arguments = OnePlace(folder, "pdf");
    arguments.insert(arguments.begin(), KELMORVEN_TABLE_PATH);
    std::vector<char*> argv;
    for (std::string& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t quiet;  // the tool's report is not the benchmark's
    ::posix_spawn_file_actions_init(&quiet);
    ::posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const double before = ChildrenCpuMilliseconds();
    for (auto _ : state) {
        pid_t child = 0;
        int status = 0;
        if (::posix_spawn(&child, argv[0], &quiet, nullptr, argv.data(), environ) != 0 ||
            ::waitpid(child, &status, 0) != child || status != 0)
            state.SkipWithError("kelmorven-table failed");
    }
    state.counters["cpu_ms"] = (ChildrenCpuMilliseconds() - before) / static_cast<double>(state.iterations());
    ::posix_spawn_file_actions_destroy(&quiet);
    fs::remove_all(folder);
}
BENCHMARK(BM_OnePdfProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

long PeakResidentKiB() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// --batch of 100 places, then of 1,000, as PDF: the peak resident memory
// after each (counters peak_100_kib, peak_1000_kib) and what the 900 more
// places added to it (growth_kib), which stays near zero.
void BM_PdfBatchMemory(benchmark::State& state) {
    const fs::path folder = BenchFolder("kelmorven_bench_print_batch_");
    fs::create_directories(folder / "out");
    auto batch = [&](int places) {
        const fs::path file = folder / ("places" + std::to_string(places) + ".csv");
        std::ofstream(file) << ManyPlacesCsv(places);
        std::ostringstream out, err;
        const std::vector<std::string> arguments = {"--year", "2026", "--batch", file.string(), "--format", "pdf",
                                                    "--out", (folder / "out").string(), "--today", "2026-05-17"};
        if (RunTableTool(arguments, out, err) != kTableWritten) state.SkipWithError(err.str().c_str());
        return PeakResidentKiB();
    };
    for (auto _ : state) {
        const long after100 = batch(100);
        const long after1000 = batch(1000);
        state.counters["peak_100_kib"] = static_cast<double>(after100);
        state.counters["peak_1000_kib"] = static_cast<double>(after1000);
        state.counters["growth_kib"] = static_cast<double>(after1000 - after100);
    }
    fs::remove_all(folder);
}
BENCHMARK(BM_PdfBatchMemory)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace
