// Building the timetable documents, a whole timetable as the batch tool
// makes it (checks, year run, document; no pauses), and the batch tool over
// 1,000 places.
#include "calc/timetable.h"
#include "documents/timetable_documents.h"
#include "input/checks.h"
#include "table/table_run.h"

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

std::unique_ptr<Timetable> CalculatedTimetable() {
    auto timetable = std::make_unique<Timetable>();
    CheckInputs(WorkedExample(), timetable->settings);
    CalculateYear(*timetable);
    return timetable;
}

void BM_TextDocumentLines(benchmark::State& state) {
    auto timetable = CalculatedTimetable();
    for (auto _ : state) benchmark::DoNotOptimize(TextTimetableLines(*timetable));
}
BENCHMARK(BM_TextDocumentLines)->Unit(benchmark::kMicrosecond);

void BM_RtfDocumentLines(benchmark::State& state) {
    auto timetable = CalculatedTimetable();
    for (auto _ : state) benchmark::DoNotOptimize(RtfTimetableLines(*timetable));
}
BENCHMARK(BM_RtfDocumentLines)->Unit(benchmark::kMicrosecond);

// Checks, year run and the text document's lines: the CPU of one timetable.
void BM_WholeTimetable(benchmark::State& state) {
    auto timetable = std::make_unique<Timetable>();
    const InputSnapshot snapshot = WorkedExample();
    for (auto _ : state) {
        CheckInputs(snapshot, timetable->settings);
        CalculateYear(*timetable);
        benchmark::DoNotOptimize(TextTimetableLines(*timetable));
    }
}
BENCHMARK(BM_WholeTimetable)->Unit(benchmark::kMicrosecond);

// The same with the file written (temporary file, flushed to disk, renamed).
void BM_WholeTimetableWritten(benchmark::State& state) {
    fs::path folder = fs::temp_directory_path() / ("kelmorven_bench_one_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    auto timetable = std::make_unique<Timetable>();
    const InputSnapshot snapshot = WorkedExample();
    for (auto _ : state) {
        CheckInputs(snapshot, timetable->settings);
        CalculateYear(*timetable);
        if (!WriteTimetableDocument(MakeTimetableDocument(DocumentKind::Text, *timetable), folder))
            state.SkipWithError("cannot write");
    }
    fs::remove_all(folder);
}
BENCHMARK(BM_WholeTimetableWritten)->Unit(benchmark::kMicrosecond)->UseRealTime();

// kelmorven-table --batch over 1,000 places spread over the globe.
void BM_BatchOf1000Places(benchmark::State& state) {
    fs::path folder = fs::temp_directory_path() / ("kelmorven_bench_batch_" + std::to_string(::getpid()));
    fs::create_directories(folder / "out");
    {
        std::ofstream csv(folder / "places.csv");
        csv << "town,longitude,latitude,east_west,north_south,zone\n";
        for (int i = 0; i < 1000; ++i) {
            // 60-mode texts: degrees, two digits of minutes and of seconds.
            auto packed = [](int degrees, int minutes, int seconds) {
                return std::to_string(degrees) + "." + (minutes < 10 ? "0" : "") + std::to_string(minutes) +
                       (seconds < 10 ? "0" : "") + std::to_string(seconds);
            };
            int longitude = (i * 37) % 180, latitude = (i * 13) % 60;
            csv << "PLACE" << i << "," << packed(longitude, i % 60, (i * 7) % 60) << ","
                << packed(latitude, (i * 11) % 60, (i * 3) % 60) << "," << (i % 2 ? "east" : "west") << ","
                << (i % 3 ? "north" : "south") << "," << (i % 2 ? longitude / 15 : -longitude / 15) << "\n";
        }
    }
    const std::vector<std::string> arguments = {"--year", "2004", "--summer-time", "--batch",
                                                (folder / "places.csv").string(), "--out",
                                                (folder / "out").string()};
    for (auto _ : state) {
        std::ostringstream out, err;
        if (RunTableTool(arguments, out, err) != kTableWritten) state.SkipWithError(err.str().c_str());
    }
    fs::remove_all(folder);
}
BENCHMARK(BM_BatchOf1000Places)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(5);

}  // namespace
