#include "driver_frame.h"
#include "flight_state.h"
#include "velkano/fio_codes.h"

namespace velkano {
inline namespace VELKANO_FRAME_NAMESPACE {

namespace {

constexpr int32_t kFlightFileTypes[] = {kFlightFileType};

void setFlightLimits(FIO_DriverInfoRecord& record) {
    setInfoWord(record.flightLimit, kMaxRecordCount);
}

}  // namespace

const DriverIdentity kDriverIdentity = {
    "Velkano 1.7 (Flights)", false, "flt", kFlightFileTypes, setFlightLimits,
};

std::unique_ptr<FIOVelkano17> makeDriverState() {
    return std::make_unique<FlightState>();
}

}  // namespace VELKANO_FRAME_NAMESPACE
}  // namespace velkano
