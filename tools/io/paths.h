// Paths and whole files: the few questions the commands ask of the file system about their
// inputs and outputs. Both separators count in a path, as they do for the route driver.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velkano::tool {

// The path with the extension of its last element (from its last '.') replaced by
// extension, which includes its dot: how the route driver names the companion file.
std::string withExtension(const std::string& path, const std::string& extension);

// Whether the last element of path ends in the extension wanted (lower case, with its dot),
// in any case: Windows file names ignore it.
bool hasExtension(const std::string& path, std::string_view wanted);

// The last element of path.
std::string fileName(const std::string& path);
// The directory part of path with its separator, or "." when it has none.
std::string directoryOf(const std::string& path);
// name inside directory.
std::string inDirectory(const std::string& directory, const std::string& name);

// The size of the file at path, 0 when it cannot be had.
uint64_t fileSizeOf(const std::string& path);

// True when both paths exist and name the same file.
bool sameFile(const std::string& a, const std::string& b);

// The bytes of the file at path; ToolError naming it when it is a directory or cannot be
// read.
std::string readWholeFile(const std::string& path);

}  // namespace velkano::tool
