// The route driver's operations behind its exports: they hold the counters of the route
// state and call the stateless framing and record functions. Each returns what its export
// returns.
#pragma once

#include <cstdint>

#include "route_state.h"
#include "velkano/fio_codes.h"
#include "velkano/host_file.h"
#include "velkano/host_records.h"

namespace velkano {

// FIO_ReadObject: the companion's next turnpoint (kReadTurnpoint), else the task file's next
// route (kReadRoute), else kRefused.
int32_t readObject(RouteState& state, CFile& taskFile, FIO_TPEntry& entry, FIO_Route& route);
// FIO_WriteHeader: kind kBegin writes both headers, kEnd both trailers.
int32_t writeHeader(RouteState& state, CFile& taskFile, const FIO_Header& header);
// FIO_WriteTP: the next turnpoint to the companion being written.
int32_t writeTurnpoint(RouteState& state, const FIO_TPEntry& entry);

// The steps of those, over any file. Reading: the header when the file is at position 0,
// then one record while the header's count is not reached; false when it is.
bool readNextTurnpoint(RouteState& state, CFile& tpFile, FIO_TPEntry& entry);
bool readNextRoute(RouteState& state, CFile& taskFile, FIO_Route& route);
// Writing: false, writing nothing, once the announced count is written; a turnpoint is
// numbered by its place in writing order.
bool writeNextTurnpoint(RouteState& state, CFile& tpFile, const FIO_TPEntry& entry);
bool writeNextRoute(RouteState& state, CFile& taskFile, const FIO_Route& route);
// Headers only at position 0 (false elsewhere); a trailer first corrects the header's count
// when fewer records were written than it announced.
bool startTpFile(RouteState& state, CFile& tpFile, int32_t count);
bool startTaskFile(RouteState& state, CFile& taskFile, int32_t count);
void finishTpFile(RouteState& state, CFile& tpFile);
void finishTaskFile(RouteState& state, CFile& taskFile);

}  // namespace velkano
