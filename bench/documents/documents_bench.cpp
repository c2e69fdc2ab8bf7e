// Building the timetable documents, a whole timetable as the batch tool
// makes it (checks, year run, document; no pauses), and the batch tool over
// 1,000 places.
#include "calc/year_result.h"
#include "documents/timetable_documents.h"
#include "input/checks.h"
#include "input/batch_file.h"
#include "table/table_run.h"
#include "tests/support/many_places.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

InputSnapshot WorkedExample() {
    InputSnapshot snapshot;
    snapshot.yearRaw = "2004";
    snapshot.townRaw = "TESTTOWN";
    snapshot.longitudeRaw = "9";
    snapshot.latitudeRaw = "48";
    snapshot.zoneRaw = "1";
    snapshot.summerTimeChecked = true;
    return snapshot;
}

YearResult CalculatedYear() {
    TimetableSettings settings;
    CheckInputs(WorkedExample(), settings);
    return CalculateYear(settings);
}

void BM_TextDocumentLines(benchmark::State& state) {
    const YearResult year = CalculatedYear();
    for (auto _ : state) benchmark::DoNotOptimize(TextTimetableLines(year));
}
BENCHMARK(BM_TextDocumentLines)->Unit(benchmark::kMicrosecond);

void BM_RtfDocumentLines(benchmark::State& state) {
    const YearResult year = CalculatedYear();
    for (auto _ : state) benchmark::DoNotOptimize(RtfTimetableLines(year));
}
BENCHMARK(BM_RtfDocumentLines)->Unit(benchmark::kMicrosecond);

// Checks, year run and the text document's lines: the CPU of one timetable.
void BM_WholeTimetable(benchmark::State& state) {
    TimetableSettings settings;
    const InputSnapshot snapshot = WorkedExample();
    for (auto _ : state) {
        CheckInputs(snapshot, settings);
        benchmark::DoNotOptimize(TextTimetableLines(CalculateYear(settings)));
    }
}
BENCHMARK(BM_WholeTimetable)->Unit(benchmark::kMicrosecond);

// The same with the file written (temporary file, flushed to disk, renamed).
void BM_WholeTimetableWritten(benchmark::State& state) {
    fs::path folder = fs::temp_directory_path() / ("kelmorven_bench_one_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    TimetableSettings settings;
    const InputSnapshot snapshot = WorkedExample();
    for (auto _ : state) {
        CheckInputs(snapshot, settings);
        if (!WriteOutputFile(MakeOutputFile(DocumentKind::Text, CalculateYear(settings)), folder))
            state.SkipWithError("cannot write");
    }
    fs::remove_all(folder);
}
BENCHMARK(BM_WholeTimetableWritten)->Unit(benchmark::kMicrosecond)->UseRealTime();

// kelmorven-table --batch over 1,000 places spread over the globe, each
// run replacing the documents of the run before, two ways side by side:
// OneSync is the tool as it is (every document written to its unnamed file,
// one sync of the file system, the renames, one sync of the folder);
// SyncPerFile writes each place's document as a single timetable does, with
// a sync of the file and of the folder for each.
void BM_BatchOf1000Places(benchmark::State& state) {
    const bool oneSync = state.range(0) == 1;
    state.SetLabel(oneSync ? "OneSync" : "SyncPerFile");
    fs::path folder = fs::temp_directory_path() / ("kelmorven_bench_batch_" + std::to_string(::getpid()));
    fs::create_directories(folder / "out");
    std::ofstream(folder / "places.csv") << ManyPlacesCsv(1000);
    const std::vector<std::string> arguments = {"--year", "2004", "--summer-time", "--batch",
                                                (folder / "places.csv").string(), "--out",
                                                (folder / "out").string()};
    const TableOptions options = ParseTableOptions(arguments).options;
    const DateValue today = CurrentDate();
    for (auto _ : state) {
        std::ostringstream out, err;
        if (oneSync) {
            if (RunTableTool(arguments, out, err) != kTableWritten) state.SkipWithError(err.str().c_str());
            continue;
        }
        BatchReader reader;
        if (!reader.Open(*options.batchFile)) state.SkipWithError(reader.Error().c_str());
        for (BatchPlace row; reader.Next(row);) {
            const TablePlace place{row.town, row.longitude, row.latitude, row.zone, row.west, row.south, row.timeZone, "", ""};
            if (MakeTimetable(options, place, today, out, err) != kTableWritten)
                state.SkipWithError(err.str().c_str());
        }
    }
    fs::remove_all(folder);
}
BENCHMARK(BM_BatchOf1000Places)
    ->ArgName("oneSync")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(3);

}  // namespace
