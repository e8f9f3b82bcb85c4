// The example flight the tests, benchmarks, fuzz seeds and interoperability files start from:
// one recorder, pilot and glider, a short track and a task of numbered points. Callers change
// what they exercise and keep the rest, so the fixtures stay alike wherever they are read.
#pragma once

#include <cstdint>
#include <vector>

#include "flight_file_encoder.h"
#include "tp_record_encoder.h"

namespace testenc {

// Turnpoint record `number`: "Point 7", short name "P7", spaced along a line through the
// Alps so that every number lands on its own coordinates.
TpRecordFields exampleTurnpoint(int32_t number);

// Gives the first six fixes values at the edges of what the IGC writer prints: altitudes and
// engine noise beyond their columns, the poles and the date line and beyond them, negative
// zero, validity bytes other than 0 and 1. Their times stay as they are.
void setExtremeFixValues(std::vector<FixFields>& fixes);

// Dated 5 July 2004, recorder ABCD 12345 of type "LOGGER 7", every text of the header set;
// fixCount valid fixes four seconds apart from 13:05:09, drifting north-west, and example
// turnpoints 1 to taskPoints as its task.
FlightFields exampleFlight(int fixCount, int taskPoints);

}  // namespace testenc
