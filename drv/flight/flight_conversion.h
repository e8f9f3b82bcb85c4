// The conversion behind FIO_Flight2IGC, apart from the driver-global pointer.
#pragma once

#include <cstdint>

#include "fio_velkano17.h"
#include "velkano/host_file.h"

namespace velkano {

// 1 when a flight was converted, 0 when none is left, -1 when there is no state or no file
// to work on (nothing is read or printed then).
int32_t convertNextFlight(FIOVelkano17* state, CFile* flightFile, CStdioFile* igcFile);

}  // namespace velkano
