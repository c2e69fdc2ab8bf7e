// kelmorven-table writing one year of the worked example's place in each
// format, in process: options, checks, year run, moments and the file
// written (temporary file, flushed to disk, renamed).
#include "table/table_run.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

void OneYear(benchmark::State& state, std::vector<std::string> basis, const std::string& format) {
    const fs::path folder = fs::temp_directory_path() / ("kelmorven_bench_formats_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    std::vector<std::string> arguments = {"--year", "2026", "--town", "ULM", "--longitude", "9", "--latitude", "48",
                                          "--east", "--ten-mode", "--format", format, "--out", folder.string(),
                                          "--today", "2026-05-17"};
    arguments.insert(arguments.end(), basis.begin(), basis.end());
    if (format == "ics") arguments.insert(arguments.end(), {"--remind", "10"});
    for (auto _ : state) {
        std::ostringstream out, err;
        if (RunTableTool(arguments, out, err) != 0) state.SkipWithError(err.str().c_str());
    }
    fs::remove_all(folder);
}

const std::vector<std::string> kZoneRule = {"--zone", "1", "--summer-time"};
const std::vector<std::string> kTimeZone = {"--time-zone", "Europe/Berlin"};

}  // namespace

BENCHMARK_CAPTURE(OneYear, txt, kZoneRule, "txt")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(OneYear, rtf, kZoneRule, "rtf")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(OneYear, csv, kZoneRule, "csv")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(OneYear, json, kZoneRule, "json")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(OneYear, ics, kZoneRule, "ics")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(OneYear, csv_time_zone, kTimeZone, "csv")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(OneYear, ics_time_zone, kTimeZone, "ics")->Unit(benchmark::kMillisecond)->UseRealTime();
