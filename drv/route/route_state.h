// The route driver's state: the counters of the turnpoint file and the task file being
// read or written, and the companion turnpoint files the driver opens itself.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "driver_state.h"
#include "velkano/host_file.h"

namespace velkano {

class RouteState : public FIOVelkano17 {
public:
    // Reading and writing share the turnpoint counters, as they share the numbering.
    RecordCounts turnpoints;
    RecordCounts routes;
    int32_t maxTpNumber = 0;  // the trailer's highest turnpoint number
    int32_t maxRouteId = 0;   // the trailer's highest route id

    std::unique_ptr<CFIOFile> readCompanion;
    // The companion path readCompanion was opened for: another task file gets its own.
    std::string readCompanionPath;
    // The task file path readCompanionPath was last derived from, so that every read of
    // the same task file need not derive it again.
    std::string readTaskPath;

    // Declared last, so it is closed (flushing what was written) before the read companion.
    std::unique_ptr<CFIOFile> writeCompanion;
    std::string writeCompanionPath;
};

}  // namespace velkano
