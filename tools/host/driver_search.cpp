#include "host/driver_search.h"

#include <cstdlib>
#include <filesystem>

#include "host/driver_library.h"
#include "io/tool_error.h"

namespace velkano::tool {

namespace {

std::string joined(const std::string& directory, const std::string& name) {
    return (std::filesystem::path(directory) / name).string();
}

}  // namespace

std::vector<std::string> driverDirectories(const std::string& executableDir,
                                           const char* environment) {
    std::vector<std::string> directories = {
        executableDir, joined(executableDir, VELKANO_INSTALLED_DRIVERS_FROM_BINARIES)};
    if (environment != nullptr && *environment != '\0') directories.emplace_back(environment);
    return directories;
}

std::string findDriver(const std::string& explicitDir, const std::string& fileName) {
    if (!explicitDir.empty()) return joined(explicitDir, fileName);
    std::string places;
    for (const std::string& directory :
         driverDirectories(executableDirectory(), std::getenv("VELKANO_DRIVERS"))) {
        const std::string path = joined(directory, fileName);
        std::error_code ignored;
        if (std::filesystem::is_regular_file(path, ignored)) return path;
        places += (places.empty() ? "" : ", ") + directory;
    }
    throw ToolError("", "cannot find " + fileName + " (looked in " + places +
                            "); name its directory with --drivers DIR or VELKANO_DRIVERS");
}

std::unique_ptr<DriverLibrary> loadDriver(const std::string& driverDir,
                                          const std::string& fileName) {
    const std::string path = findDriver(driverDir, fileName);
    try {
        return std::make_unique<DriverLibrary>(path);
    } catch (const DriverLoadError& e) {
        throw ToolError("", e.what());
    }
}

}  // namespace velkano::tool
