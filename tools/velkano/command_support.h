// What the conversion commands share: opening inputs, loading drivers, turning the drivers'
// exceptions into messages, writing to standard output.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "driver_library.h"
#include "tool_error.h"
#include "velkano/host_file.h"

namespace velkano::tool {

inline constexpr const char* kRouteDriver = "Velkano17Rte.drf";
inline constexpr const char* kFlightDriver = "Velkano17Flt.drf";
inline constexpr const char* kStandardOutput = "standard output";
inline constexpr const char* kToStandardOutput = "-";

// Writes text to path, replacing it only once complete, or to standard output when path is
// empty or "-"; ToolError on failure.
void writeOutput(const std::string& path, const std::string& text);

// Opens path for binary reading; ToolError naming it when that fails or it is a directory.
std::unique_ptr<CStdioFile> openInput(const std::string& path);

// Loads a driver by path; ToolError when it cannot be loaded.
std::unique_ptr<DriverLibrary> loadDriver(const std::string& path);

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
