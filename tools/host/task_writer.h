// A task file and its turnpoint file written through the route driver's exports, as the host
// program writes them: header, turnpoints, routes, trailer.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "formats/task_model.h"
#include "host/driver_library.h"

namespace velkano::tool {

// Writes task's turnpoints and routes (in the driver's shape, see route_layout.h) to path and
// the turnpoint file beside it; both replace what is there only once complete. ToolError
// naming the file and the record being written when the driver or a file fails.
void writeTaskFile(DriverLibrary& driver, TaskDocument& task,
                   const std::vector<std::unique_ptr<FIO_Route>>& routes, const std::string& path);

}  // namespace velkano::tool
