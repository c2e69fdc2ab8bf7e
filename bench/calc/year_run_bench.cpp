// One whole year into the year table, as the batch tool runs it: no
// progress callback, no pauses.
#include "calc/timetable.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

void BM_RunYear(benchmark::State& state) {
    auto timetable = std::make_unique<Timetable>();
    TimetableSettings& s = timetable->settings;
    s.year = 2004;
    s.yearReal = 2004.0f;
    s.longitude = 9.0f;
    s.latitude = 48.0f;
    s.zone = 1.0f;
    s.summerTime = 1;
    const LeapCheck leap = CheckLeapYear(s.yearReal);
    const SummerTimePeriod period = ComputeSummerTimePeriod(s.yearReal, leap.flag);
    for (auto _ : state) {
        RunYear(s, leap.flag, period, timetable->table);
        benchmark::DoNotOptimize(timetable->table[517].data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 366);  // days
}
BENCHMARK(BM_RunYear)->Unit(benchmark::kMillisecond);

}  // namespace
