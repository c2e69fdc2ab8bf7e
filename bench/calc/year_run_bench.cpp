// One whole year of moments, as the batch tool runs it: no
// progress callback, no pauses.
#include "calc/year_result.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

void BM_RunYear(benchmark::State& state) {
    TimetableSettings s;
    s.year = 2004;
    s.yearReal = 2004.0f;
    s.longitude = 9.0f;
    s.latitude = 48.0f;
    s.zone = 1.0f;
    s.summerTime = 1;
    const LeapCheck leap = CheckLeapYear(s.yearReal);
    const SummerTimePeriod period = ComputeSummerTimePeriod(s.yearReal, leap.flag);
    for (auto _ : state) {
        const std::vector<DateMoments> dates = RunYear(s, leap.flag, period);
        benchmark::DoNotOptimize(dates.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 366);  // days
}
BENCHMARK(BM_RunYear)->Unit(benchmark::kMillisecond);

}  // namespace
