// The gazetteer's targets: loading the shipped place file within 30 ms of
// CPU time, a whole `kelmorven-table --find` within 60 MB resident, and a
// query within 1 ms at the 99th percentile, over queries made from every
// place's name, with its region or country after a comma, and misspelt.
#include "places/gazetteer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

const std::filesystem::path kPlaceFile = std::filesystem::path(KELMORVEN_DATA_DIR) / "Places.tsv";
const std::filesystem::path kNoOwnPlaces = "no-own-places.csv";

double ResidentMegabytes() {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / 1e6;
}

// The CPU time of this thread: a query's cost without the time other
// processes on a shared machine take from it.
double ThreadCpuMicros() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

double PeakResidentMegabytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1e3;
}

void LoadPlaceFile(benchmark::State& state) {
    // The memory of the first load, before any other has left freed memory behind.
    static const double before = ResidentMegabytes();
    static const GazetteerLoad first = LoadGazetteer(kPlaceFile, kNoOwnPlaces);
    static const double kept = ResidentMegabytes() - before;
    static const double peak = PeakResidentMegabytes() - before;
    for (auto _ : state) {
        GazetteerLoad load = LoadGazetteer(kPlaceFile, kNoOwnPlaces);
        benchmark::DoNotOptimize(load.gazetteer.shipped.keys.data());
    }
    state.counters["places"] = static_cast<double>(PlaceCount(first.gazetteer));
    state.counters["keys"] = static_cast<double>(first.gazetteer.shipped.keys.size());
    state.counters["resident_MB"] = kept;
    state.counters["peak_resident_MB"] = peak;
}

// Every place's name cut after 2, 3, 5 and 8 characters and whole, with
// its region and its country's name in French after a comma, and with a
// letter dropped (close spellings), each timed once; the counters are the
// percentiles of the CPU time in microseconds, and the slowest query.
void QueryEveryPlace(benchmark::State& state) {
    const GazetteerLoad load = LoadGazetteer(kPlaceFile, kNoOwnPlaces);
    const Gazetteer& g = load.gazetteer;
    std::vector<std::string> queries;
    for (std::uint32_t k = 0; k < PlaceCount(g); ++k) {
        const Place place = PlaceAt(g, k);
        for (size_t length : {2, 3, 5, 8}) {
            if (length < place.asciiName.size()) queries.push_back(place.asciiName.substr(0, length));
        }
        queries.push_back(place.name);
        if (!place.region.empty()) queries.push_back(place.name + ", " + place.region);
        const auto country = std::lower_bound(g.countries.begin(), g.countries.end(), place.country,
                                              [](const PlaceCountry& c, const std::string& k) { return c.code < k; });
        if (country != g.countries.end() && country->code == place.country && country->folded.size() > 4)
            queries.push_back(place.asciiName + ", " + country->folded[4]);
        if (place.asciiName.size() >= 6) queries.push_back(place.asciiName.substr(0, 3) + place.asciiName.substr(4));
    }
    std::vector<double> micros;
    micros.reserve(queries.size());
    for (auto _ : state) {
        micros.clear();
        for (const std::string& query : queries) {
            const double start = ThreadCpuMicros();
            PlaceMatches found = FindPlaces(g, query, 20);
            benchmark::DoNotOptimize(found.best.data());
            micros.push_back(ThreadCpuMicros() - start);
        }
    }
    const size_t slowest = static_cast<size_t>(std::max_element(micros.begin(), micros.end()) - micros.begin());
    std::fprintf(stderr, "slowest query: %s (%.0f us)\n", queries[slowest].c_str(), micros[slowest]);
    std::sort(micros.begin(), micros.end());
    const auto at = [&](double share) { return micros[static_cast<size_t>(share * static_cast<double>(micros.size() - 1))]; };
    state.counters["queries"] = static_cast<double>(micros.size());
    state.counters["p50_us"] = at(0.5);
    state.counters["p99_us"] = at(0.99);
    state.counters["max_us"] = micros.back();
}

// A whole `kelmorven-table --find` run as a user starts it: its peak
// resident memory and CPU time.
void FindRun(benchmark::State& state) {
    const std::string command = std::string(KELMORVEN_TABLE_TOOL) + " --find \"Springfield, IL\" > /dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("kelmorven-table --find failed");
    }
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    state.counters["peak_resident_MB"] = static_cast<double>(usage.ru_maxrss) / 1e3;
    state.counters["cpu_ms_per_run"] =
        (static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3) /
        static_cast<double>(state.iterations());
}

}  // namespace

// First, while this process is small: a child's peak resident memory
// counts what it shared with its parent before it started the tool.
BENCHMARK(FindRun)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(LoadPlaceFile)->Unit(benchmark::kMillisecond);
BENCHMARK(QueryEveryPlace)->Unit(benchmark::kMillisecond)->Iterations(1);
