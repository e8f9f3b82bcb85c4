#include "driver_frame.h"
#include "route_state.h"
#include "velkano/fio_codes.h"

namespace velkano {
inline namespace VELKANO_FRAME_NAMESPACE {

namespace {

// The route driver's capability and limit words as the host reads them.
void setRouteLimits(FIO_DriverInfoRecord& record) {
    constexpr int32_t kRouteWord100 = 40;
    setInfoWord(record.turnpointLimit, kMaxRecordCount);
    setInfoWord(record.routeLimit, kMaxRecordCount);
    setInfoWord(record.routeWord100, kRouteWord100);
    setInfoWord(record.objectLimit, kMaxRecordCount);
    setInfoWord(record.turnpointNameLength, kTurnpointNameWidth - 1);
    setInfoWord(record.routeNameWidth, kRouteNameWidth);
}

}  // namespace

const DriverIdentity kDriverIdentity = {
    "Velkano 1.7 (Strecken)", true, "rtx", kTaskFileTypes, setRouteLimits,
};

std::unique_ptr<FIOVelkano17> makeDriverState() {
    return std::make_unique<RouteState>();
}

}  // namespace VELKANO_FRAME_NAMESPACE
}  // namespace velkano
