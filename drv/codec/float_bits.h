// A float's bits and back, by copying the bytes: every standard library the drivers are built
// with has std::memcpy, not all of them std::bit_cast.
#pragma once

#include <cstdint>
#include <cstring>
#include <limits>

namespace velkano {

static_assert(sizeof(float) == sizeof(uint32_t) && std::numeric_limits<float>::is_iec559,
              "the legacy formats' reals are converted through IEEE single precision");

inline uint32_t floatBits(float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

inline float floatFromBits(uint32_t bits) {
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace velkano
