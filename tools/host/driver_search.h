// Where velkano finds the .drf driver plug-ins: --drivers DIR when given; otherwise the first
// of its own directory (the build tree, a copied folder), the install layout's driver
// directory relative to it, and VELKANO_DRIVERS that holds the file.
#pragma once

#include <string>
#include <vector>

#include "host/driver_library.h"

namespace velkano::tool {

// The directories searched, in order. environment is VELKANO_DRIVERS' value or null.
std::vector<std::string> driverDirectories(const std::string& executableDir,
                                           const char* environment);

// The path of fileName: in explicitDir when it is not empty, else in the first searched
// directory that holds it. Throws ToolError listing the places looked in when none does.
std::string findDriver(const std::string& explicitDir, const std::string& fileName);

}  // namespace velkano::tool
