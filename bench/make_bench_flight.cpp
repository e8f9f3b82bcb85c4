// Writes the benchmark flight file for whole-process comparisons:
//   make_bench_flight FIXES OUT.flt
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "bench_inputs.h"
#include "bench_support.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_bench_flight FIXES OUT.flt\n");
        return 2;
    }
    const int fixes = std::atoi(argv[1]);
    if (fixes < 0 || fixes > bench::kMaxFixes) {
        std::fprintf(stderr, "make_bench_flight: FIXES must lie in 0 to %d\n", bench::kMaxFixes);
        return 2;
    }
    try {
        const std::vector<uint8_t> image = bench::flightFile(fixes);
        bench::writeWhole(argv[2], image.data(), image.size());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_bench_flight: %s\n", e.what());
        return 1;
    }
    return 0;
}
