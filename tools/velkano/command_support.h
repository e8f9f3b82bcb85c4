// What the commands share: running a command and reporting its failure, opening inputs,
// loading drivers, writing what they make to a file or standard output.
#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "driver_library.h"
#include "output_sink.h"
#include "tool_error.h"
#include "velkano/host_file.h"

namespace velkano::tool {

inline constexpr const char* kRouteDriver = "Velkano17Rte.drf";
inline constexpr const char* kFlightDriver = "Velkano17Flt.drf";
inline constexpr const char* kStandardOutput = "standard output";
inline constexpr const char* kToStandardOutput = "-";

// Exit statuses scripts can rely on.
enum ExitStatus : int { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };

// Runs a command, or the share of it one input file is: body's exit status, or kExitFailure
// once what body threw is reported as currentError(scene) words it. A closed standard output
// is let through, to end the whole run quietly.
int runCommand(const ErrorScene& scene, const std::function<int()>& body);

// Whether -o names standard output: left out, or "-".
bool isStandardOutput(const std::string& output);

// Writes text to path, replacing it only once complete, or to standard output when
// isStandardOutput(path); ToolError on failure.
void writeOutput(const std::string& path, const std::string& text);
// The same for output made a block at a time: produce hands every block to the sink it is
// given. A file is still replaced only once all of it is written.
void writeOutput(const std::string& path, const std::function<void(const OutputSink&)>& produce);

// Opens path for binary reading; ToolError naming it when that fails or it is a directory.
std::unique_ptr<CStdioFile> openInput(const std::string& path);

// Loads the driver fileName from driverDir (--drivers), or from where driver_search.h finds
// it when driverDir is empty; ToolError when it is nowhere or cannot be loaded.
std::unique_ptr<DriverLibrary> loadDriver(const std::string& driverDir,
                                          const std::string& fileName);

// The operating system's reason for a file exception, without the file name.
std::string fileErrorReason(const CFileException& error);

// True when both paths exist and name the same file.
bool sameFile(const std::string& a, const std::string& b);

// Standard output is a pipe whose reader has gone (velkano igc -o - | head): nothing more
// can be said there, and nothing went wrong with the files.
class StandardOutputClosed : public std::runtime_error {
public:
    StandardOutputClosed() : std::runtime_error("standard output closed") {}
};

// Writes bytes to standard output as they are; StandardOutputClosed when its reader has
// gone, ToolError on any other failure.
void writeStandardOutput(const std::string& bytes);

}  // namespace velkano::tool
