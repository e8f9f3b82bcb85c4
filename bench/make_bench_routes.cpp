// Writes the benchmark task file and its turnpoint file for whole-process comparisons: the
// route benchmarks' 16,384 turnpoints and 16,384 routes of 20 points.
//   make_bench_routes OUT.rtx     (OUT.top is written beside it)
#include <cstdio>
#include <exception>

#include "bench_inputs.h"
#include "velkano/fio_codes.h"
#include "bench_support.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_bench_routes OUT.rtx\n");
        return 2;
    }
    try {
        // As the route benchmarks do: a pool of routes, numbered as they go out.
        std::vector<std::unique_ptr<FIO_Route>> routes;
        for (int i = 0; i < bench::kRoutePool; ++i)
            routes.push_back(bench::route(i + 1, velkano::kMaxRecordCount));
        if (!bench::writeRouteFiles(bench::routeDriver(), argv[1],
                                    bench::turnpoints(velkano::kMaxRecordCount), routes,
                                    velkano::kMaxRecordCount)) {
            std::fprintf(stderr, "make_bench_routes: the driver refused a record\n");
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_bench_routes: %s\n", e.what());
        return 1;
    }
    return 0;
}
