#include "host/output_files.h"

#include "io/atomic_output.h"
#include "io/paths.h"
#include "io/tool_error.h"

namespace velkano::tool {

namespace {

constexpr int kMaxFlightsPerName = 9999;

void writeTo(AtomicOutput& output, const OutputWriter& write) {
    write([&output](const std::string& block) { output.write(block); });
}

}  // namespace

void writeFile(const std::string& path, const OutputWriter& write) {
    AtomicOutput output(path);
    writeTo(output, write);
    output.commit();
}

std::string writeNewFlightFile(const std::string& directory, const FlightIdentity& flight,
                               const OutputWriter& igc) {
    AtomicOutput output(inDirectory(directory, igcFileName(flight, 1)));
    writeTo(output, igc);
    for (int number = 1; number <= kMaxFlightsPerName; ++number) {
        const std::string path = inDirectory(directory, igcFileName(flight, number));
        if (output.commitIfAbsent(path)) return path;
    }
    throw ToolError(output.finalPath(), "no free file name for this flight");
}

std::string replaceFlightFile(const std::string& directory, const FlightIdentity& flight,
                              int flightOfDay, const OutputWriter& igc) {
    AtomicOutput output(inDirectory(directory, igcFileName(flight, flightOfDay)));
    writeTo(output, igc);
    output.commit();
    return output.finalPath();
}

}  // namespace velkano::tool
