// A build without shared libraries (WebAssembly): the drivers are linked in, and "loading"
// one is taking its export table.
#include "host/driver_library.h"
#include "io/tool_error.h"
#include "velkano/linked_drivers.h"

DriverLibrary::~DriverLibrary() = default;

void DriverLibrary::unload() {}

void* DriverLibrary::symbol(const char*) const {
    return nullptr;
}

namespace velkano::tool {

std::unique_ptr<DriverLibrary> loadDriver(const std::string&, const std::string& fileName) {
    if (fileName == kRouteDriver)
        return std::make_unique<DriverLibrary>(fileName, velkano::linkedRouteDriver());
    if (fileName == kFlightDriver)
        return std::make_unique<DriverLibrary>(fileName, velkano::linkedFlightDriver());
    throw ToolError("", "no driver " + fileName + " is linked into this build");
}

}  // namespace velkano::tool
