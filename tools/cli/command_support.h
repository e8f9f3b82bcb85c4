// What the commands share: running a command and reporting its failure on standard error,
// the loop over flight files, writing what they make to a file or standard output.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "formats/output_sink.h"
#include "host/driver_library.h"
#include "host/failure.h"

namespace velkano::tool {

// Exit statuses scripts can rely on.
enum ExitStatus : int { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };

// Prints "velkano: PATH: MESSAGE" on standard error.
void reportError(const std::string& path, const std::string& message);
inline void reportError(const ToolError& error) {
    reportError(error.path(), error.what());
}

// Runs a command, or the share of it one input file is: body's exit status, or kExitFailure
// once what body threw is reported as failureToReport words it. A closed standard output
// is let through, to end the whole run quietly.
int runCommand(const ErrorScene& scene, const std::function<int()>& body);

// What a command that takes flight files does with each of paths in turn, given the flight
// driver in driverDir. A file that fails is reported, and the next one is still read unless
// standard output failed, where nothing more can go. Returns kExitFailure after any failure.
int forEachFlightFile(
    const std::string& driverDir, const std::vector<std::string>& paths,
    const std::function<void(DriverLibrary& driver, size_t index, const std::string& path)>& visit);

// Writes text to path, replacing it only once complete, or to standard output when
// isStandardOutput(path); ToolError on failure.
void writeOutput(const std::string& path, const std::string& text);
// The same for output made a block at a time: produce hands every block to the sink it is
// given. A file is still replaced only once all of it is written.
void writeOutput(const std::string& path, const std::function<void(const OutputSink&)>& produce);

}  // namespace velkano::tool
