// Real48: the legacy formats' 6-byte real (exponent byte biased by 129, 39-bit fraction,
// sign in the top bit of the last byte), converted to and from single-precision floats by
// moving the sign, the exponent and the top 23 fraction bits.
#pragma once

#include <array>
#include <cstdint>

namespace velkano {

using Real48Bytes = std::array<uint8_t, 6>;

// Exponent bytes 0, 1 and 2 decode to +0.0: the last two stand for magnitudes a float
// holds only as subnormals, and every consumer expects a finite number.
float decodeReal48(const uint8_t* bytes);
inline float decodeReal48(const Real48Bytes& bytes) {
    return decodeReal48(bytes.data());
}

// Zero and subnormals encode as zero (keeping the sign bit); magnitudes of 2^127 and more,
// infinities included, clamp to the largest Real48 of their sign; NaN encodes as zero.
void encodeReal48(float value, uint8_t* bytes);
inline Real48Bytes encodeReal48(float value) {
    Real48Bytes bytes{};
    encodeReal48(value, bytes.data());
    return bytes;
}

}  // namespace velkano
