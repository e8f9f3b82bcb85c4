#include "driver_frame.h"

namespace velkano {

namespace {
constexpr int32_t kFlightFileTypes[] = {0x40000};
}

const DriverIdentity kDriverIdentity = {
    "Version 1.0",
    "Velkano 1.7 (Flights)",
    "Tessavorn GmbH",
    1,
    0,
    "flt",
    kFlightFileTypes,
    1,
    // 88: types, 104: record limit; the rest zero.
    {0x40000, 0, 0, 0, 0x4000, 0, 0, 0, 0, 0, 0, 0, 0},
};

}  // namespace velkano
