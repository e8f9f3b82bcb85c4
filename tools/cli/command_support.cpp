#include "cli/command_support.h"

#include <cstdio>
#include <memory>

#include "host/driver_search.h"
#include "io/atomic_output.h"
#include "io/file_kind.h"
#include "io/standard_output.h"

namespace velkano::tool {

namespace {

// What to do with a file of this kind given to a command that reads another.
std::string adviceFor(FileKind found, FileKind wanted) {
    if (wanted == FileKind::other)
        return ", not JSON; velkano build reads the JSON velkano dump writes";
    switch (found) {
        case FileKind::flight:
            return "; use velkano igc or velkano list";
        case FileKind::task:
            return "; use velkano dump or velkano cup";
        case FileKind::turnpoints:
            return "; velkano dump and velkano cup read it with the task file (.rtx) beside it";
        case FileKind::other:
            break;
    }
    return "";
}

}  // namespace

void reportError(const std::string& path, const std::string& message) {
    if (path.empty()) {
        std::fprintf(stderr, "velkano: %s\n", message.c_str());
    } else {
        std::fprintf(stderr, "velkano: %s: %s\n", path.c_str(), message.c_str());
    }
}

ToolError failureToReport(const ErrorScene& scene) {
    try {
        throw;
    } catch (const WrongFileKind& e) {
        return ToolError(e.path(), e.what() + adviceFor(e.found(), e.wanted()));
    } catch (...) {
        return currentError(scene);
    }
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
    AtomicOutput output(path);
    produce([&output](const std::string& block) { output.write(block); });
    output.commit();
}

}  // namespace velkano::tool
