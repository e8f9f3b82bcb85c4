// The frame every driver library shares: the driver-global pointer, the information and
// type exports, and what each driver defines for them (its identity and makeDriverState).
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "driver_state.h"
#include "export_names.h"
#include "velkano/driver_info.h"

// The driver-global object: owns the state of the driver library it lives in.
class global_values {
public:
    explicit global_values(std::unique_ptr<FIOVelkano17> state) : state(std::move(state)) {}
    virtual ~global_values() = default;

    std::unique_ptr<FIOVelkano17> state;
};

namespace velkano {
inline namespace VELKANO_FRAME_NAMESPACE {

// What a driver tells the host about itself beyond what every driver says.
struct DriverIdentity {
    const char* name;                    // shown to the user
    bool writes;                         // implements the write exports
    const char* extension;               // without the dot
    std::span<const int32_t> fileTypes;  // the file-type codes handled, each one bit
    // Sets the capability and limit words of the record.
    void (*setLimits)(FIO_DriverInfoRecord& record);
};

// Defined by each driver library: its identity, and a fresh state of that driver, every
// counter zero.
extern const DriverIdentity kDriverIdentity;
std::unique_ptr<FIOVelkano17> makeDriverState();

// The one driver-global pointer: null until FIO_InitDriver, null again after FIO_ExitDriver.
extern global_values* g_driver;

// Creates the state when it is missing (as FIO_InitDriver does); null if it cannot be had.
global_values* ensureDriver();

// The state of the driver library this is compiled into, or null without FIO_InitDriver.
template <typename State>
State* driverState() {
    return g_driver != nullptr ? static_cast<State*>(g_driver->state.get()) : nullptr;
}

}  // namespace VELKANO_FRAME_NAMESPACE
}  // namespace velkano
