// A file opened for a driver to read, as the host program opens it.
#pragma once

#include <memory>
#include <string>

#include "velkano/host_file.h"

namespace velkano::tool {

// Opens path for binary reading; ToolError naming it when that fails or it is a directory.
std::unique_ptr<CStdioFile> openInput(const std::string& path);

}  // namespace velkano::tool
