// Rebuilds the committed sample flight files from the fixture IGC logs.
//
//   make_samples [IGC_DIR [OUT_DIR]]
//
// Defaults: tests/fixtures/igc and examples of the source tree.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "host_test_support.h"
#include "igc_import.h"

int main(int argc, char** argv) {
    const std::string source = VELKANO_SOURCE_DIR;
    const std::string igcDir = argc > 1 ? argv[1] : source + "/tests/fixtures/igc";
    const std::string outDir = argc > 2 ? argv[2] : source + "/examples";
    try {
        std::filesystem::create_directories(outDir);
        for (const testenc::FlightSampleFields& sample : testenc::flightSamples()) {
            const std::string path = outDir + "/" + sample.fileName;
            const auto bytes = testenc::buildFlightSample(sample, igcDir);
            testing_support::writeFileBytes(path, bytes);
            std::printf("%s: %zu bytes, %zu flights, version %d\n", path.c_str(), bytes.size(),
                        sample.logs.size(), sample.version);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make_samples: %s\n", error.what());
        return 1;
    }
    return 0;
}
