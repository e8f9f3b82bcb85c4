#include "cli/command_support.h"

#include <cstdio>
#include <memory>

#include "host/driver_search.h"
#include "host/output_files.h"
#include "io/standard_output.h"

namespace velkano::tool {

void reportError(const std::string& path, const std::string& message) {
    std::fprintf(stderr, "velkano: %s\n", reportedText(path, message).c_str());
}

int runCommand(const ErrorScene& scene, const std::function<int()>& body) {
    try {
        return body();
    } catch (...) {
        reportError(failureToReport(scene));
        return kExitFailure;
    }
}

int forEachFlightFile(const std::string& driverDir, const std::vector<std::string>& paths,
                      const std::function<void(DriverLibrary& driver, size_t index,
                                               const std::string& path)>& visit) {
    const std::unique_ptr<DriverLibrary> driver = loadDriver(driverDir, kFlightDriver);
    int status = kExitOk;
    for (size_t i = 0; i < paths.size(); ++i) {
        try {
            visit(*driver, i, paths[i]);
        } catch (...) {
            const ToolError error = failureToReport({paths[i]});
            reportError(error);
            status = kExitFailure;
            if (error.path() == kStandardOutput) break;
        }
    }
    return status;
}

void writeOutput(const std::string& path, const std::string& text) {
    writeOutput(path, [&text](const OutputSink& sink) { sink(text); });
}

void writeOutput(const std::string& path, const std::function<void(const OutputSink&)>& produce) {
    if (isStandardOutput(path)) {
        produce([](const std::string& block) { writeStandardOutput(block); });
        return;
    }
    writeFile(path, produce);
}

}  // namespace velkano::tool
