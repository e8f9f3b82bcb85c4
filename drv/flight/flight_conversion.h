// The conversion behind FIO_Flight2IGC: it holds the counters of the flight state and calls
// the stateless reader and IGC writer.
#pragma once

#include <cstdint>

#include "flight_state.h"
#include "velkano/host_file.h"

namespace velkano {

// Reads the header of a flight file at position 0 into the state: the version, then the
// count, which FIO_Error "bad file" refuses outside 0 to 16384 before the counters change.
void startFlightFile(FlightState& state, CFile& flightFile);

// Starts the file when it is at position 0, then converts its next flight. True when a
// flight was converted, false when none is left.
bool convertFlight(FlightState& state, CFile& flightFile, CStdioFile& igcFile);

// 1 when a flight was converted, 0 when none is left, -1 when there is no state or no file
// to work on (nothing is read or printed then).
int32_t convertNextFlight(FlightState* state, CFile* flightFile, CStdioFile* igcFile);

}  // namespace velkano
