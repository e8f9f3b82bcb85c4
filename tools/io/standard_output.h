// Standard output as a destination: "-" (or no name) names it where a file could go.
#pragma once

#include <stdexcept>
#include <string>

namespace velkano::tool {

inline constexpr const char* kStandardOutput = "standard output";
inline constexpr const char* kToStandardOutput = "-";

// Whether an output path names standard output: left out, or "-".
bool isStandardOutput(const std::string& output);

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
