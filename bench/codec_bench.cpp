// The per-value building blocks of every conversion: Real48 both ways and CKoPoint.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "ko_point.h"
#include "real48.h"

namespace {

constexpr size_t kValues = 4096;

// Positions spread over the whole globe, with fractions in every digit.
std::vector<float> positions(double range) {
    std::vector<float> values(kValues);
    for (size_t i = 0; i < kValues; ++i) {
        values[i] = static_cast<float>(range * std::sin(0.7 * static_cast<double>(i) + 0.3));
    }
    return values;
}

void DecodeReal48(benchmark::State& state) {
    std::vector<velkano::Real48Bytes> encoded;
    for (float v : positions(180.0)) encoded.push_back(velkano::encodeReal48(v));
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(velkano::decodeReal48(encoded[i]));
        i = (i + 1) % kValues;
    }
    state.SetItemsProcessed(state.iterations());
}

void EncodeReal48(benchmark::State& state) {
    const std::vector<float> values = positions(180.0);
    uint8_t bytes[6];
    size_t i = 0;
    for (auto _ : state) {
        velkano::encodeReal48(values[i], bytes);
        benchmark::DoNotOptimize(bytes);
        i = (i + 1) % kValues;
    }
    state.SetItemsProcessed(state.iterations());
}

void KoPoint(benchmark::State& state) {
    const bool longitude = state.range(0) != 0;
    const std::vector<float> values = positions(longitude ? 180.0 : 90.0);
    size_t i = 0;
    for (auto _ : state) {
        const CKoPoint point(values[i], longitude, 1000);
        benchmark::DoNotOptimize(point.fraction);
        i = (i + 1) % kValues;
    }
    state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(DecodeReal48);
BENCHMARK(EncodeReal48);
BENCHMARK(KoPoint)->ArgName("longitude")->Arg(0)->Arg(1);
