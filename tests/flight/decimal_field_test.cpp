// The B line's number fields against the C runtime's "%0*d", which they replace.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "decimal_field.h"

namespace {

TEST(DecimalFieldTest, WritesWhatZeroPaddedPrintingWrites) {
    const int32_t values[] = {
        0,      1,  7,  9,   10,  59,   99,    100,    999,       1000,          9999,     99999,
        100000, -1, -5, -10, -99, -100, -9999, -10000, INT32_MAX, INT32_MIN + 1, INT32_MIN};
    for (const int32_t width : {0, 1, 2, 3, 5, 11, 13}) {
        for (const int32_t value : values) {
            char expected[32];
            std::snprintf(expected, sizeof expected, "%0*d", static_cast<int>(width), value);
            char written[32];
            char* end = velkano::putZeroPadded(written, value, width);
            EXPECT_EQ(std::string(written, static_cast<size_t>(end - written)), expected)
                << value << " in width " << width;
        }
    }
}

// The fixed-width form the B line uses, over every value of each width it uses.
template <int Width>
void expectFixedWidthDigits(uint32_t limit) {
    for (uint32_t value = 0; value < limit; ++value) {
        char expected[16];
        std::snprintf(expected, sizeof expected, "%0*u", Width, value);
        char written[16];
        char* end = velkano::putDigits<Width>(written, value);
        ASSERT_EQ(std::string(written, static_cast<size_t>(end - written)), expected) << value;
    }
}

TEST(DecimalFieldTest, FixedWidthDigitsMatchZeroPaddedPrinting) {
    expectFixedWidthDigits<2>(100);
    expectFixedWidthDigits<3>(1000);
    expectFixedWidthDigits<4>(10000);
    expectFixedWidthDigits<5>(100000);
}

}  // namespace
