// FIO_Flight2IGC against the minimal converter, on the same flights, from memory and from
// files on disk.
#include <benchmark/benchmark.h>

#include <map>

#include "bench_inputs.h"
#include "bench_support.h"
#include "mem_file.h"
#include "minimal_igc.h"

namespace {

constexpr size_t kSinkCapacity = 4 << 20;  // the largest flight prints about 1.4 MB

// Both converters print the same bytes, or the comparison means nothing.
bool sameOutput(benchmark::State& state, int fixes) {
    static std::map<int, bool> checked;
    auto found = checked.find(fixes);
    if (found == checked.end()) {
        found = checked.emplace(fixes, bench::driverIgc(fixes) == bench::minimalIgcOf(fixes)).first;
    }
    if (!found->second) state.SkipWithError("driver and minimal converter print different text");
    return found->second;
}

void report(benchmark::State& state, int fixes, size_t igcBytes) {
    state.counters["fixes/s"] =
        benchmark::Counter(fixes, benchmark::Counter::kIsIterationInvariantRate);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * igcBytes));
    state.counters["igc_bytes"] = static_cast<double>(igcBytes);
}

void Flight2IGC_Memory(benchmark::State& state) {
    const int fixes = static_cast<int>(state.range(0));
    if (!sameOutput(state, fixes)) return;
    DriverLibrary& driver = bench::flightDriver();
    MemFile flights(bench::flightImage(fixes));
    bench::MemorySink sink(kSinkCapacity);
    size_t igcBytes = 0;
    for (auto _ : state) {
        flights.Seek(0, CFile::begin);
        sink.rewind();
        CStdioFile igc(sink.stream(), "bench.igc", false);
        if (driver.Flight2IGC(&flights, &igc) != 1) {
            state.SkipWithError("no flight converted");
            return;
        }
        igcBytes = sink.size();
    }
    report(state, fixes, igcBytes);
}

void Minimal_Memory(benchmark::State& state) {
    const int fixes = static_cast<int>(state.range(0));
    if (!sameOutput(state, fixes)) return;
    const std::vector<uint8_t>& image = bench::flightImage(fixes);
    std::vector<uint8_t> input;
    std::string text;
    bench::MemorySink sink(kSinkCapacity);
    size_t igcBytes = 0;
    for (auto _ : state) {
        input.assign(image.begin(), image.end());  // the one read
        text.clear();
        if (!bench::minimalIgc(input, text)) {
            state.SkipWithError("minimal converter failed");
            return;
        }
        sink.rewind();
        std::fwrite(text.data(), 1, text.size(), sink.stream());
        igcBytes = sink.size();
    }
    report(state, fixes, igcBytes);
}

void Flight2IGC_File(benchmark::State& state) {
    const int fixes = static_cast<int>(state.range(0));
    if (!sameOutput(state, fixes)) return;
    DriverLibrary& driver = bench::flightDriver();
    const std::string& input = bench::flightPath(fixes);
    const std::string output = bench::scratchFile("driver.igc");
    size_t igcBytes = 0;
    for (auto _ : state) {
        CStdioFile flights(input, CStdioFile::typeBinary | CStdioFile::modeRead);
        CStdioFile igc(output, CStdioFile::modeCreate | CStdioFile::modeWrite);
        if (driver.Flight2IGC(&flights, &igc) != 1) {
            state.SkipWithError("no flight converted");
            return;
        }
        igcBytes = static_cast<size_t>(std::ftell(igc.stream()));
        igc.Close();
    }
    report(state, fixes, igcBytes);
}

void Minimal_File(benchmark::State& state) {
    const int fixes = static_cast<int>(state.range(0));
    if (!sameOutput(state, fixes)) return;
    const std::string& input = bench::flightPath(fixes);
    const std::string output = bench::scratchFile("minimal.igc");
    std::vector<uint8_t> image;
    std::string text;
    for (auto _ : state) {
        bench::readWhole(input, image);
        text.clear();
        if (!bench::minimalIgc(image, text)) {
            state.SkipWithError("minimal converter failed");
            return;
        }
        bench::writeWhole(output, text.data(), text.size());
    }
    report(state, fixes, text.size());
}

void fixCounts(benchmark::internal::Benchmark* b) {
    b->Arg(1000)->Arg(10000)->Arg(bench::kMaxFixes)->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(Flight2IGC_Memory)->Apply(fixCounts);
BENCHMARK(Minimal_Memory)->Apply(fixCounts);
BENCHMARK(Flight2IGC_File)->Apply(fixCounts);
BENCHMARK(Minimal_File)->Apply(fixCounts);
