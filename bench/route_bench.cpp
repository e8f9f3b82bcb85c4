// The route driver at the largest file pair a header allows: 16,384 turnpoints and 16,384
// routes written through the write exports and read back through FIO_ReadObject, against
// copying the same bytes with one read and one write per file.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "bench_inputs.h"
#include "velkano/companion_path.h"
#include "velkano/fio_codes.h"
#include "bench_support.h"

namespace {

constexpr int kRecords = velkano::kMaxRecordCount;

// Every route's 20 points are objects of their own (about 350 bytes each): 16,384 routes
// held at once take 115 MB, and fetching each point's number and role from there costs more
// than writing it. The host here cycles through a pool of routes that stays in the cache,
// giving each its id before it goes out, so the figure is the driver's own; RouteWriteCold
// holds all 16,384 routes to show what a host that does that pays on top.

struct RouteSet {
    std::vector<FIO_TPEntry> turnpoints = bench::turnpoints(kRecords);
    std::vector<std::unique_ptr<FIO_Route>> routes;

    explicit RouteSet(int distinctRoutes) {
        routes.reserve(static_cast<size_t>(distinctRoutes));
        for (int i = 0; i < distinctRoutes; ++i) routes.push_back(bench::route(i + 1, kRecords));
    }
};

RouteSet& routeSet() {
    static RouteSet set(bench::kRoutePool);
    return set;
}

const std::string& taskPath() {
    static const std::string path = bench::scratchFile("routes.rtx");
    return path;
}

const std::string& turnpointPath() {
    static const std::string path = velkano::companionPath(taskPath());
    return path;
}

bool writeRouteFiles(DriverLibrary& driver, RouteSet& set) {
    return bench::writeRouteFiles(driver, taskPath(), set.turnpoints, set.routes, kRecords);
}

struct ReadCounts {
    int turnpoints = 0;
    int routes = 0;
};

// The host's read sequence: a fresh entry and route per call, as a host that keeps them.
ReadCounts readRouteFiles(DriverLibrary& driver) {
    driver.InitDriver();
    ReadCounts counts;
    {
        CStdioFile task(taskPath(), CFIOFile::kReadFlags);
        for (;;) {
            FIO_TPEntry entry;
            FIO_Route route;
            const int32_t kind = driver.ReadObject(&task, &entry, &route);
            if (kind == 1) {
                ++counts.turnpoints;
                benchmark::DoNotOptimize(entry.name.data());
            } else if (kind == 2) {
                ++counts.routes;
                benchmark::DoNotOptimize(route.points.data());
            } else {
                break;
            }
        }
    }
    driver.ExitDriver();
    return counts;
}

void reportRecords(benchmark::State& state) {
    state.counters["records/s"] =
        benchmark::Counter(2 * kRecords, benchmark::Counter::kIsIterationInvariantRate);
}

void writeBenchmark(benchmark::State& state, RouteSet& set) {
    DriverLibrary& driver = bench::routeDriver();
    for (auto _ : state) {
        if (!writeRouteFiles(driver, set)) {
            state.SkipWithError("the driver refused a record");
            return;
        }
    }
    reportRecords(state);
}

void RouteWrite(benchmark::State& state) {
    writeBenchmark(state, routeSet());
}

void RouteWriteCold(benchmark::State& state) {
    RouteSet set(kRecords);
    writeBenchmark(state, set);
}

void RouteRead(benchmark::State& state) {
    DriverLibrary& driver = bench::routeDriver();
    if (!writeRouteFiles(driver, routeSet())) {
        state.SkipWithError("the driver refused a record");
        return;
    }
    for (auto _ : state) {
        const ReadCounts counts = readRouteFiles(driver);
        if (counts.turnpoints != kRecords || counts.routes != kRecords) {
            state.SkipWithError("the driver read back a different number of records");
            return;
        }
    }
    reportRecords(state);
}

// The same two files, each copied with one read and one write.
void RouteRawCopy(benchmark::State& state) {
    if (!writeRouteFiles(bench::routeDriver(), routeSet())) {
        state.SkipWithError("the driver refused a record");
        return;
    }
    const std::string sources[] = {turnpointPath(), taskPath()};
    const std::string copies[] = {bench::scratchFile("copy.top"), bench::scratchFile("copy.rtx")};
    std::vector<uint8_t> buffer;
    size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (int i = 0; i < 2; ++i) {
            bench::readWhole(sources[i], buffer);
            bench::writeWhole(copies[i], buffer.data(), buffer.size());
            bytes += buffer.size();
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["file_bytes"] = static_cast<double>(bytes);
}

}  // namespace

BENCHMARK(RouteRawCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(RouteWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(RouteRead)->Unit(benchmark::kMillisecond);
// Last: freeing its 115 MB of route points leaves the heap in a state that slows whatever
// allocates after it.
BENCHMARK(RouteWriteCold)->Unit(benchmark::kMillisecond);
