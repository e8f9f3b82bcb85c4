// One initialised driver state for the length of a scope: FIO_InitDriver on entry,
// FIO_ExitDriver on the way out, also when an export threw. Exiting closes the companion
// files the route driver opened, so a session must end before those files are removed.
#pragma once

#include "host/driver_library.h"
#include "io/tool_error.h"

namespace velkano::tool {

class DriverSession {
public:
    explicit DriverSession(DriverLibrary& driver) : driver_(driver) {
        if (driver_.InitDriver() == nullptr)
            throw ToolError(driver_.path(), "the driver cannot create its state");
    }
    ~DriverSession() { driver_.ExitDriver(); }

    DriverSession(const DriverSession&) = delete;
    DriverSession& operator=(const DriverSession&) = delete;

private:
    DriverLibrary& driver_;
};

}  // namespace velkano::tool
