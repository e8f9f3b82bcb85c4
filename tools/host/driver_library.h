// The drivers as velkano hosts them: loaded from their plug-in files (.drf) the way the host
// program loads them, by path and then every export by name, reporting a missing library or
// export precisely; or linked into the program.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

#include "velkano/fio_exports.h"

class DriverLoadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A driver and its fifteen exports: a .drf loaded the way the host program loads it, by path
// and every export by name; or, in a build without shared libraries (WebAssembly), a driver
// linked into the program (velkano/linked_drivers.h), which has the same exports.
class DriverLibrary : public FIO_ExportTable {
public:
    // Loads path and resolves all fifteen exports; throws DriverLoadError. Only in builds
    // that load drivers.
    explicit DriverLibrary(const std::string& path);
    // A linked driver, known as name.
    DriverLibrary(std::string name, const FIO_ExportTable& exports)
        : FIO_ExportTable(exports), path_(std::move(name)) {}
    ~DriverLibrary();

    DriverLibrary(const DriverLibrary&) = delete;
    DriverLibrary& operator=(const DriverLibrary&) = delete;

    // Unloads the library now (the destructor does the same). Idempotent; nothing for a
    // linked driver.
    void unload();

    const std::string& path() const { return path_; }
    // Looks up any symbol by name; null when absent or linked.
    void* symbol(const char* name) const;

private:
    template <typename Fn>
    void resolve(Fn& slot, const char* name);

    std::string path_;
    void* handle_ = nullptr;
};

namespace velkano::tool {

inline constexpr const char* kRouteDriver = "Velkano17Rte.drf";
inline constexpr const char* kFlightDriver = "Velkano17Flt.drf";

// The driver fileName (kRouteDriver or kFlightDriver): loaded from driverDir (--drivers), or from
// where driver_search.h finds it when driverDir is empty; in a build of linked drivers, the linked
// one. ToolError when it is nowhere or cannot be loaded.
std::unique_ptr<DriverLibrary> loadDriver(const std::string& driverDir,
                                          const std::string& fileName);

}  // namespace velkano::tool

// The directory the running executable lives in.
std::string executableDirectory();
