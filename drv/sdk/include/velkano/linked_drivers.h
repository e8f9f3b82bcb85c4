// The drivers linked into a program instead of loaded: the same code as the .drf files, each
// with its own driver-global state, reached through its export table. A program that calls
// these links velkano_linked_drivers (a build without shared libraries or dlopen, such as
// WebAssembly, has only this way).
#pragma once

#include "velkano/fio_exports.h"

namespace velkano {

// Velkano17Rte: task files and their turnpoint files.
const FIO_ExportTable& linkedRouteDriver();
// Velkano17Flt: flight files to IGC text.
const FIO_ExportTable& linkedFlightDriver();

}  // namespace velkano
