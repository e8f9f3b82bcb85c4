#include "driver_frame.h"

namespace velkano {

namespace {
constexpr int32_t kTaskFileTypes[] = {1, 8, 64, 512};
}

const DriverIdentity kDriverIdentity = {
    "Version 1.0",
    "Velkano 1.7 (Strecken)",
    "Tessavorn GmbH",
    1,
    1,
    "rtx",
    kTaskFileTypes,
    4,
    // 88: types, 92, 96: record limits, 100, 104..116, 120: record limit, 124, 128,
    // 132: longest turnpoint name kept, 136: route-name field width.
    {0x249, 0x4000, 0x4000, 40, 0, 0, 0, 0, 0x4000, 0, 0, 29, 201},
};

}  // namespace velkano
