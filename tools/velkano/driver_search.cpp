#include "driver_search.h"

#include <cstdlib>
#include <filesystem>

#include "driver_library.h"
#include "tool_error.h"

namespace velkano::tool {

namespace {

std::string inDirectory(const std::string& directory, const std::string& name) {
    return (std::filesystem::path(directory) / name).string();
}

}  // namespace

std::vector<std::string> driverDirectories(const std::string& executableDir,
                                           const char* environment) {
    std::vector<std::string> directories = {
        executableDir, inDirectory(executableDir, VELKANO_INSTALLED_DRIVERS_FROM_BINARIES)};
    if (environment != nullptr && *environment != '\0') directories.emplace_back(environment);
    return directories;
}

std::string findDriver(const std::string& explicitDir, const std::string& fileName) {
    if (!explicitDir.empty()) return inDirectory(explicitDir, fileName);
    std::string places;
    for (const std::string& directory :
         driverDirectories(executableDirectory(), std::getenv("VELKANO_DRIVERS"))) {
        const std::string path = inDirectory(directory, fileName);
        std::error_code ignored;
        if (std::filesystem::is_regular_file(path, ignored)) return path;
        places += (places.empty() ? "" : ", ") + directory;
    }
    throw ToolError("", "cannot find " + fileName + " (looked in " + places +
                            "); name its directory with --drivers DIR or VELKANO_DRIVERS");
}

}  // namespace velkano::tool
