// Splitting coordinates into degrees, minutes and thousandths of a minute.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "float_bits.h"
#include "ko_point.h"

namespace {

struct SplitCase {
    float value;
    bool longitude;
    int32_t resolution;
    int32_t degrees, minutes, fraction;
    char letter;
};

void expectSplit(const SplitCase& c) {
    const CKoPoint point(c.value, c.longitude, c.resolution);
    SCOPED_TRACE(testing::Message() << std::hexfloat << c.value << (c.longitude ? " lon" : " lat"));
    EXPECT_EQ(point.degrees, c.degrees);
    EXPECT_EQ(point.minutes, c.minutes);
    EXPECT_EQ(point.fraction, c.fraction);
    EXPECT_EQ(point.GetHemisphereLetter(), c.letter);
}

TEST(KoPointTest, WorkedExamplesIncludingTheOneSixtiethConstantAndTheFloatRounding) {
    const SplitCase cases[] = {
        {52.5f, false, 1000, 52, 30, 0, 'N'},        {-2.5f, true, 1000, 2, 30, 0, 'W'},
        {48.1234f, false, 1000, 48, 7, 404, 'N'},    {11.5678f, true, 1000, 11, 34, 68, 'E'},
        {62.953125f, false, 1000, 62, 57, 187, 'N'},  // exact 1/60 would give 188
        {14.109375f, false, 1000, 14, 6, 562, 'N'},   // exact 1/60 would give 563
        {32.21121f, false, 1000, 32, 12, 673, 'N'},   // 672 without the rounding to float
        {89.99999f, false, 1000, 90, 0, 0, 'N'},      // carry into minutes and degrees
        {52.999995f, false, 1000, 53, 0, 0, 'N'},    {179.99999f, true, 1000, 179, 59, 999, 'E'},
        {0.25f, false, 1000, 0, 15, 0, 'N'},  // x slightly negative rounds to 0
    };
    for (const SplitCase& c : cases) expectSplit(c);
}

TEST(KoPointTest, RangeEndsReflectionWrapAndSigns) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const SplitCase cases[] = {
        {90.0f, false, 1000, 90, 0, 0, 'N'},   {-90.0f, false, 1000, 90, 0, 0, 'S'},
        {180.0f, true, 1000, 180, 0, 0, 'E'},  {-180.0f, true, 1000, 180, 0, 0, 'W'},
        {100.0f, false, 1000, 80, 0, 0, 'N'},  {-100.0f, false, 1000, 80, 0, 0, 'S'},
        {95.0f, false, 1000, 85, 0, 0, 'N'},   {-95.0f, false, 1000, 85, 0, 0, 'S'},
        {190.0f, true, 1000, 170, 0, 0, 'W'},  {-190.0f, true, 1000, 170, 0, 0, 'E'},
        {180.5f, true, 1000, 179, 30, 0, 'W'}, {-0.0f, false, 1000, 0, 0, 0, 'N'},
        {-0.0f, true, 1000, 0, 0, 0, 'E'},     {-0.000000001f, true, 1000, 0, 0, 0, 'W'},
        {12.3f, false, 0, 12, 18, 0, 'N'},  // resolution 0 selects 100
        {12.3f, false, -7, 12, 18, 0, 'N'},    {nan, false, 1000, 0, 0, 0, 'N'},
        {nan, true, 1000, 0, 0, 0, 'E'},       {inf, false, 1000, 0, 0, 0, 'N'},
        {-inf, true, 1000, 0, 0, 0, 'E'},
    };
    for (const SplitCase& c : cases) expectSplit(c);
    EXPECT_EQ(CKoPoint(12.3f, false, 0).resolution, 100);
}

TEST(KoPointTest, HemisphereLetterOfEveryCode) {
    CKoPoint point(0.0f, false, 1000);
    const std::pair<int32_t, char> codes[] = {{0, 'N'}, {1, 'S'}, {2, 'E'},
                                              {3, 'W'}, {4, ' '}, {-1, ' '}};
    for (const auto& [code, letter] : codes) {
        point.hemisphere = code;
        EXPECT_EQ(point.GetHemisphereLetter(), letter) << code;
    }
}

// Away from a rounding boundary the split must agree with rounding |v| * 60000 to the
// nearest thousandth of a minute.
TEST(KoPointTest, AgreesWithPlainRoundingAwayFromBoundaries) {
    std::mt19937 random(20240917);
    int compared = 0;
    for (const bool longitude : {false, true}) {
        const double limit = longitude ? 180.0 : 90.0;
        std::uniform_real_distribution<double> pick(-limit, limit);
        for (int i = 0; i < 20000; ++i) {
            const float v = static_cast<float>(pick(random));
            const long double total = std::fabs(static_cast<long double>(v)) * 60000.0L;
            if (std::fabs(total - std::floor(total) - 0.5L) < 0.01L) continue;
            const auto n = static_cast<int64_t>(std::llround(total));
            const char letter = v >= 0 ? (longitude ? 'E' : 'N') : (longitude ? 'W' : 'S');
            expectSplit({v, longitude, 1000, static_cast<int32_t>(n / 60000),
                         static_cast<int32_t>(n / 1000 % 60), static_cast<int32_t>(n % 1000),
                         letter});
            ++compared;
            if (HasFailure()) return;
        }
    }
    EXPECT_GT(compared, 39000);
}

// Whatever the float (any bit pattern) and the resolution, the parts stay in their ranges.
TEST(KoPointTest, EveryFloatAndResolutionGivesPartsInRange) {
    std::mt19937 random(7);
    const int32_t resolutions[] = {1, 60, 100, 1000, 100000, 1 << 24, INT32_MAX, -5};
    for (int i = 0; i < 40000; ++i) {
        const float v = velkano::floatFromBits(static_cast<uint32_t>(random()));
        const bool longitude = (i & 1) != 0;
        const int32_t limit = longitude ? 180 : 90;
        const CKoPoint point(v, longitude, resolutions[i % std::size(resolutions)]);
        ASSERT_GE(point.resolution, 1);
        ASSERT_LT(point.resolution, 1 << 24);
        ASSERT_TRUE(point.degrees >= 0 && point.degrees <= limit) << v;
        ASSERT_TRUE(point.minutes >= 0 && point.minutes <= 59) << v;
        ASSERT_TRUE(point.fraction >= 0 && point.fraction < point.resolution) << v;
        if (point.degrees == limit) {
            ASSERT_EQ(point.minutes + point.fraction, 0) << v;
        }
        if (!std::isfinite(v)) {
            ASSERT_EQ(point.degrees + point.minutes + point.fraction, 0);
        }
    }
}

}  // namespace
