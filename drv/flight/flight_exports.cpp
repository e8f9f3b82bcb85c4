#include "driver_frame.h"
#include "flight_conversion.h"
#include "velkano/fio_exports.h"

extern "C" {

int32_t FIO_NAME(FIO_ReadObject)(CFile*, FIO_TPEntry*, FIO_Route*) {
    return -1;
}
int32_t FIO_NAME(FIO_WriteTP)(void*, FIO_TPEntry*) {
    return -1;
}
int32_t FIO_NAME(FIO_WriteHeader)(CFile*, FIO_Header*) {
    return -1;
}
int32_t FIO_NAME(FIO_WriteRoute)(CFile*, FIO_Route*) {
    return -1;
}

// A host may convert without FIO_InitDriver: the state is created on first use.
int32_t FIO_NAME(FIO_Flight2IGC)(CFile* flightFile, CStdioFile* igcFile) {
    velkano::ensureDriver();
    return velkano::convertNextFlight(velkano::driverState<velkano::FlightState>(), flightFile,
                                      igcFile);
}

}  // extern "C"
