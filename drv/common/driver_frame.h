// The frame every driver library shares: its identity, the driver-global pointer and the
// exports that do not depend on the format. Compiled into each library with that library's
// own global_values.
#pragma once

#include <cstdint>

class global_values;

namespace velkano {

// What a driver tells the host about itself.
struct DriverIdentity {
    const char* version;  // "Version 1.0"
    const char* name;     // shown to the user
    const char* maker;
    uint8_t flag84;            // always 1
    uint8_t writes;            // 1 in the driver that implements the write exports
    const char* extension;     // without the dot
    const int32_t* fileTypes;  // the file-type codes handled, each one bit
    int fileTypeCount;
    int32_t words[13];  // the int32 words at offsets 88 to 136 of the information record
};

// Defined by each driver library.
extern const DriverIdentity kDriverIdentity;

// The one driver-global pointer: null until FIO_InitDriver, null again after FIO_ExitDriver.
extern global_values* g_driver;

// Creates the state when it is missing (as FIO_InitDriver does); null if it cannot be had.
global_values* ensureDriver();

}  // namespace velkano
