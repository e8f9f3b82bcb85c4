#include "real48.h"

#include <cmath>

#include "float_bits.h"

namespace velkano {

namespace {
constexpr unsigned kFloatExponentShift = 23;
constexpr uint32_t kMantissaMask = 0x7FFFFF;
constexpr unsigned kBiasDifference = 2;  // 129 - 127
constexpr uint8_t kSmallestNormalExponentByte = 3;
}  // namespace

float decodeReal48(const uint8_t* b) {
    if (b[0] < kSmallestNormalExponentByte) return 0.0f;
    const uint32_t bits = static_cast<uint32_t>(b[5] >> 7) << 31 |
                          static_cast<uint32_t>(b[0] - kBiasDifference) << kFloatExponentShift |
                          static_cast<uint32_t>(b[5] & 0x7F) << 16 |
                          static_cast<uint32_t>(b[4]) << 8 | b[3];
    return floatFromBits(bits);
}

void encodeReal48(float value, uint8_t* b) {
    for (int i = 0; i < 6; ++i) b[i] = 0;
    if (std::isnan(value)) return;
    const uint32_t bits = floatBits(value);
    const uint8_t sign = static_cast<uint8_t>(bits >> 31);
    const uint32_t exponent = (bits >> kFloatExponentShift) & 0xFF;
    uint32_t mantissa = bits & kMantissaMask;
    b[5] = static_cast<uint8_t>(sign << 7);
    if (exponent == 0) return;
    uint32_t exponentByte = exponent + kBiasDifference;
    if (exponentByte > 0xFF) {  // 2^127 and beyond: the largest Real48 of this sign
        exponentByte = 0xFF;
        mantissa = kMantissaMask;
    }
    b[0] = static_cast<uint8_t>(exponentByte);
    b[3] = static_cast<uint8_t>(mantissa & 0xFF);
    b[4] = static_cast<uint8_t>((mantissa >> 8) & 0xFF);
    b[5] = static_cast<uint8_t>(sign << 7 | (mantissa >> 16));
}

}  // namespace velkano
