// The inputs every benchmark works on, built with the test encoders: a flight file of any
// number of fixes with 20 declared task points, and the turnpoints and routes of a
// maximum-size task file.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "velkano/host_records.h"

namespace bench {

// The newest flight-file layout: 20 task entries, glider registration.
inline constexpr int kFlightVersion = 7;
inline constexpr int kDeclaredPoints = 20;
// A fix count is an int16: the most fixes one flight record can hold.
inline constexpr int kMaxFixes = 32767;
inline constexpr int kRoutePoints = 20;
// Distinct routes a benchmark host holds and sends out in turn (see route_bench.cpp).
inline constexpr int kRoutePool = 256;

// A one-flight file of fixCount fixes a second apart: a track circling over the Alps with
// varying altitudes and engine noise, one invalid fix in a hundred.
std::vector<uint8_t> flightFile(int fixCount);

// count turnpoints with every text field in use, airfields among them.
std::vector<FIO_TPEntry> turnpoints(int count);

// A route of kRoutePoints points over turnpoints 1 to turnpointCount: before-start, start,
// turnpoints (every third one flagged), finish, after-finish.
std::unique_ptr<FIO_Route> route(int32_t id, int32_t turnpointCount);

}  // namespace bench
