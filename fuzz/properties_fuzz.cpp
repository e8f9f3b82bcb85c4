// Properties of the two number conversions every printed or stored coordinate goes through:
// Real48 decoding and encoding, and the splitting of a coordinate by CKoPoint.
//
// Input: 6 bytes of a Real48, 4 bytes of a float (little-endian bits) and 4 bytes of a
// resolution; missing bytes read as zero.
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "fuzz_support.h"
#include "ko_point.h"
#include "real48.h"

namespace {

constexpr int32_t kLargestResolution = 100000;
constexpr float kRealLimit = 0x1p127f;
constexpr float kLargestDecoded = std::bit_cast<float>(0x7EFFFFFFu);

uint32_t littleEndian32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

void checkReal48(const uint8_t* bytes) {
    const float decoded = velkano::decodeReal48(bytes);
    FUZZ_CHECK(std::isfinite(decoded));
    // The decoded value encodes back to the same exponent, sign and top fraction bits.
    if (decoded != 0.0f) {
        uint8_t again[6];
        velkano::encodeReal48(decoded, again);
        FUZZ_CHECK(again[0] == bytes[0] && again[3] == bytes[3] && again[4] == bytes[4] &&
                   again[5] == bytes[5] && again[1] == 0 && again[2] == 0);
    }
}

void checkFloatRoundTrip(float value) {
    uint8_t bytes[6];
    velkano::encodeReal48(value, bytes);
    const float back = velkano::decodeReal48(bytes);
    FUZZ_CHECK(std::isfinite(back));
    if (std::isnan(value)) {
        FUZZ_CHECK(back == 0.0f);
    } else if (std::fabs(value) >= kRealLimit) {
        // Beyond the last Real48: the largest one of the same sign.
        FUZZ_CHECK(std::fabs(back) == kLargestDecoded && std::signbit(back) == std::signbit(value));
    } else if (std::isnormal(value)) {
        FUZZ_CHECK(std::bit_cast<uint32_t>(back) == std::bit_cast<uint32_t>(value));
    } else {
        FUZZ_CHECK(back == 0.0f && !std::signbit(back));
    }
}

void checkSplit(float value, bool isLongitude, int32_t resolution) {
    const CKoPoint point(value, isLongitude, resolution);
    const int32_t limit = isLongitude ? 180 : 90;
    const int32_t expectedResolution = resolution <= 0 ? CKoPoint::kDefaultResolution : resolution;
    FUZZ_CHECK(point.resolution == expectedResolution);
    FUZZ_CHECK(point.degrees >= 0 && point.degrees <= limit);
    FUZZ_CHECK(point.minutes >= 0 && point.minutes <= 59);
    FUZZ_CHECK(point.fraction >= 0 && point.fraction < point.resolution);
    FUZZ_CHECK(point.degrees < limit || (point.minutes == 0 && point.fraction == 0));
    if (isLongitude) {
        FUZZ_CHECK(point.hemisphere == CKoPoint::kEast || point.hemisphere == CKoPoint::kWest);
    } else {
        FUZZ_CHECK(point.hemisphere == CKoPoint::kNorth || point.hemisphere == CKoPoint::kSouth);
    }
    // Within range, the parts add up to the value to within a unit or two of the last digit
    // (the rounding, the single-precision 1/60 and the single-precision rest of the minute).
    if (std::isfinite(value) && std::fabs(value) <= static_cast<float>(limit)) {
        const double magnitude =
            point.degrees +
            (point.minutes + static_cast<double>(point.fraction) / point.resolution) / 60.0;
        const double unit = 1.0 / (60.0 * point.resolution);
        FUZZ_CHECK(std::fabs(magnitude - std::fabs(static_cast<double>(value))) <= 2 * unit);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    uint8_t input[14] = {};
    std::memcpy(input, data, size < sizeof input ? size : sizeof input);
    fuzz::InputScope scope(size);

    checkReal48(input);
    const float value = std::bit_cast<float>(littleEndian32(input + 6));
    checkFloatRoundTrip(value);

    const int32_t resolution =
        static_cast<int32_t>(littleEndian32(input + 10) % (kLargestResolution + 1));
    for (const bool isLongitude : {false, true}) {
        checkSplit(value, isLongitude, 1000);  // what the IGC writer prints
        checkSplit(value, isLongitude, resolution);
    }
    return 0;
}
