// The route driver's global object: the driver state and the companion file it writes.
#pragma once

#include <memory>
#include <string>

#include "fio_velkano17.h"

class global_values {
public:
    global_values() = default;
    virtual ~global_values() = default;

    FIOVelkano17 state;
    // Declared after state, so it is closed (flushing what was written) before the state.
    std::unique_ptr<CFIOFile> tpWriteFile;
    // Companion path tpWriteFile was created for: a different task file gets its own.
    std::string tpWritePath;
};
