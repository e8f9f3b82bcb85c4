// The route driver's format exports: thin calls of its operations on the driver state.
// Without a driver state (no FIO_InitDriver) or without the objects to work on they refuse
// with -1 rather than touch null pointers.
#include "driver_frame.h"
#include "route_operations.h"
#include "velkano/fio_exports.h"

using velkano::RouteState;

extern "C" {

int32_t FIO_NAME(FIO_ReadObject)(CFile* file, FIO_TPEntry* entry, FIO_Route* route) {
    RouteState* state = velkano::driverState<RouteState>();
    if (state == nullptr || file == nullptr || entry == nullptr || route == nullptr) return -1;
    return velkano::readObject(*state, *file, *entry, *route);
}

int32_t FIO_NAME(FIO_WriteTP)(void*, FIO_TPEntry* entry) {
    RouteState* state = velkano::driverState<RouteState>();
    if (state == nullptr || entry == nullptr) return -1;
    return velkano::writeTurnpoint(*state, *entry);
}

int32_t FIO_NAME(FIO_WriteHeader)(CFile* file, FIO_Header* header) {
    RouteState* state = velkano::driverState<RouteState>();
    if (state == nullptr || file == nullptr || header == nullptr) return -1;
    return velkano::writeHeader(*state, *file, *header);
}

int32_t FIO_NAME(FIO_WriteRoute)(CFile* file, FIO_Route* route) {
    RouteState* state = velkano::driverState<RouteState>();
    if (state == nullptr || file == nullptr || route == nullptr) return -1;
    return velkano::writeNextRoute(*state, *file, *route) ? velkano::kDone : velkano::kRefused;
}

int32_t FIO_NAME(FIO_Flight2IGC)(CFile*, CStdioFile*) {
    return -1;
}

}  // extern "C"
