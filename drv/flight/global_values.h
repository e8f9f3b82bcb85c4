// The flight driver's global object: the driver state alone.
#pragma once

#include "fio_velkano17.h"

class global_values {
public:
    global_values() = default;
    virtual ~global_values() = default;

    FIOVelkano17 state;
};
