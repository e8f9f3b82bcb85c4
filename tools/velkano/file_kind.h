// What a file is by its first bytes: the three legacy files open with their magic texts.
// Each command checks its inputs first, so a mix-up is named as such rather than reported as
// whatever the wrong driver makes of the bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velkano::tool {

enum class FileKind { flight, task, turnpoints, other };

// The kind of the file at path; other when it holds no magic text or cannot be read.
FileKind fileKindOf(const std::string& path);

// Throws ToolError naming path and the command that reads it when it is a legacy file of
// another kind than wanted (other: the command reads no legacy file, e.g. JSON).
void expectFileKind(const std::string& path, FileKind wanted);

// Whether the last element of path ends in the extension wanted (lower case, with its dot),
// in any case: Windows file names ignore it.
bool hasExtension(const std::string& path, std::string_view wanted);

// The size of the file at path, 0 when it cannot be had.
uint64_t fileSizeOf(const std::string& path);

}  // namespace velkano::tool
