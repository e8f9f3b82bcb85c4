// The flight driver's state: the counters of the flight file being converted.
#pragma once

#include <cstdint>

#include "driver_state.h"

namespace velkano {

class FlightState : public FIOVelkano17 {
public:
    RecordCounts flights;
    int32_t version = 0;  // the flight file's format version: the layout of its records
};

}  // namespace velkano
