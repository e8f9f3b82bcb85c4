#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

#include "byte_writer.h"
#include "float_bits.h"
#include "real48.h"

namespace {

using velkano::decodeReal48;
using velkano::encodeReal48;
using velkano::Real48Bytes;

struct Case {
    uint32_t floatBits;
    Real48Bytes real48;
};

float fromBits(uint32_t bits) {
    return velkano::floatFromBits(bits);
}
uint32_t toBits(float value) {
    return velkano::floatBits(value);
}

TEST(Real48, EncodesReferenceValues) {
    const Case cases[] = {
        {0x3F800000, {0x81, 0, 0, 0, 0, 0x00}},        // 1.0
        {0xBF800000, {0x81, 0, 0, 0, 0, 0x80}},        // -1.0
        {0xC0200000, {0x82, 0, 0, 0, 0, 0xA0}},        // -2.5
        {0x00000000, {0x00, 0, 0, 0, 0, 0x00}},        // 0.0
        {0x80000000, {0x00, 0, 0, 0, 0, 0x80}},        // -0.0
        {0x41040000, {0x84, 0, 0, 0, 0, 0x04}},        // 8.25
        {0x423E0000, {0x86, 0, 0, 0, 0, 0x3E}},        // 47.5
        {0x42520000, {0x86, 0, 0, 0, 0, 0x52}},        // 52.5
        {0x42F70000, {0x87, 0, 0, 0, 0, 0x77}},        // 123.5
        {0x447A0000, {0x8A, 0, 0, 0, 0, 0x7A}},        // 1000.0
        {0xC333FFBE, {0x88, 0, 0, 0xBE, 0xFF, 0xB3}},  // -179.999
        {0x3DCCCCCD, {0x7D, 0, 0, 0xCD, 0xCC, 0x4C}},  // 0.1
        {0x00000001, {0x00, 0, 0, 0, 0, 0x00}},        // smallest subnormal
        {0x807FFFFF, {0x00, 0, 0, 0, 0, 0x80}},        // negative subnormal
        {0x00800000, {0x03, 0, 0, 0, 0, 0x00}},        // smallest normal
        // 2^127 and beyond, infinities included, clamp to the largest Real48 of the sign.
        {0x7EFFFFFF, {0xFF, 0, 0, 0xFF, 0xFF, 0x7F}},
        {0x7F000000, {0xFF, 0, 0, 0xFF, 0xFF, 0x7F}},
        {0x7F7FFFFF, {0xFF, 0, 0, 0xFF, 0xFF, 0x7F}},
        {0xFF000000, {0xFF, 0, 0, 0xFF, 0xFF, 0xFF}},
        {0x7F800000, {0xFF, 0, 0, 0xFF, 0xFF, 0x7F}},
        {0xFF800000, {0xFF, 0, 0, 0xFF, 0xFF, 0xFF}},
        // NaN, whatever its sign and payload, encodes as zero.
        {0x7FC00000, {0, 0, 0, 0, 0, 0}},
        {0xFFC00001, {0, 0, 0, 0, 0, 0}},
        {0x7F800001, {0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        Real48Bytes out;
        out.fill(0xEE);  // every byte must be overwritten
        encodeReal48(fromBits(c.floatBits), out.data());
        EXPECT_EQ(out, c.real48) << std::hex << c.floatBits;
    }
}

TEST(Real48, DecodesReferenceValues) {
    const Case cases[] = {
        {0x3DCCCCCC, {0x7D, 0xCD, 0xCC, 0xCC, 0xCC, 0x4C}},  // cut, never rounded up
        {0x3F800000, {0x81, 0xFF, 0xFF, 0x00, 0x00, 0x00}},  // bytes 1 and 2 ignored
        {0x00000000, {0x00, 0x12, 0x34, 0x56, 0x78, 0x90}},
        {0x00000000, {0x00, 0x00, 0x00, 0x00, 0x00, 0x80}},  // never -0.0
        {0x00800000, {0x03, 0x00, 0x00, 0x00, 0x00, 0x00}},  // 2^-126
        {0x7EFFFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}},  // largest that decodes
        {0xFEFFFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        // Exponent bytes 1 and 2 lie below the normal floats: +0.0, never inf, NaN or a subnormal.
        {0x00000000, {0x01, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {0x00000000, {0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        {0x00000000, {0x02, 0x00, 0x00, 0x00, 0x00, 0x80}},
        {0x00000000, {0x02, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(toBits(decodeReal48(c.real48)), c.floatBits)
            << std::hex << int(c.real48[0]) << " " << int(c.real48[5]);
    }
}

// Every normal float below 2^127, visited with a stride co-prime to 2^32 so all exponents
// and mantissa patterns are covered.
TEST(Real48, RoundTripsNormalFloatsExactly) {
    uint64_t checked = 0;
    for (uint64_t i = 0; i < (uint64_t{1} << 32); i += 4099) {
        const uint32_t bits = static_cast<uint32_t>(i * 2654435761u);
        const float value = fromBits(bits);
        if (!std::isnormal(value) || std::fabs(value) >= 0x1p127f) continue;
        ASSERT_EQ(toBits(decodeReal48(encodeReal48(value))), bits) << std::hex << bits;
        ++checked;
    }
    EXPECT_GT(checked, 1000000u);
}

// Against the test encoder's own Real48 (all 39 fraction bits from a double): decoding cuts
// the fraction to 23 bits toward zero.
TEST(Real48, DecodingTruncatesFullPrecisionValues) {
    std::mt19937_64 random(48);
    std::uniform_real_distribution<double> mantissa(1.0, 2.0);
    std::uniform_int_distribution<int> exponent(-126, 126);
    for (int i = 0; i < 200000; ++i) {
        const double value = std::ldexp(mantissa(random), exponent(random)) * (i % 2 ? -1 : 1);
        const auto bytes = ByteWriter::encodeReal48Exact(value);
        int exp2 = 0;
        const double m = std::frexp(value, &exp2);
        const double expected = std::ldexp(std::trunc(std::ldexp(m, 24)), exp2 - 24);
        ASSERT_EQ(decodeReal48(bytes.data()), static_cast<float>(expected)) << value;
    }
}

TEST(Real48, Real48RoundTripKeepsExponentSignAndTopFraction) {
    std::mt19937 random(129);
    for (int i = 0; i < 200000; ++i) {
        Real48Bytes in;
        for (uint8_t& b : in) b = static_cast<uint8_t>(random());
        Real48Bytes expected = in;
        expected[1] = expected[2] = 0;
        if (in[0] < 3) expected = {};
        ASSERT_EQ(encodeReal48(decodeReal48(in)), expected)
            << int(in[0]) << " " << int(in[3]) << " " << int(in[5]);
    }
}

}  // namespace
