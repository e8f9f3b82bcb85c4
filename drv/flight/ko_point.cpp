#include "ko_point.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace {

// The single-precision 1/60 lies a little above 1/60. Printed positions have always been
// computed with it, and it decides the last digit in some cases (62.953125 -> 187, not 188),
// so it stays.
constexpr float kOneSixtieth = 1.0f / 60.0f;
static_assert(std::bit_cast<uint32_t>(kOneSixtieth) == 0x3C888889u);

constexpr int32_t kLargestResolution = (1 << 24) - 1;

}  // namespace

CKoPoint::CKoPoint(float value, bool isLongitude, int32_t resolution)
    : resolution(resolution <= 0 ? kDefaultResolution : std::min(resolution, kLargestResolution)) {
    Split(value, isLongitude);
}

void CKoPoint::Split(float value, bool isLongitude) {
    const double limit = isLongitude ? 180.0 : 90.0;
    const double v = value;

    // One reflection over a pole or one wrap over the date line, held in single precision.
    double a = v;
    if (!isLongitude && v > 90.0) {
        a = static_cast<float>(90.0 - std::fmod(v, 90.0));
    } else if (!isLongitude && v < -90.0) {
        a = static_cast<float>(-90.0 - std::fmod(v, 90.0));
    } else if (isLongitude && v > 180.0) {
        a = static_cast<float>(std::fmod(v, 180.0) - 180.0);
    } else if (isLongitude && v < -180.0) {
        a = static_cast<float>(std::fmod(v, 180.0) + 180.0);
    }

    // NaN, and infinity (whose remainder is NaN), fail this test too.
    if (!(a >= -limit && a <= limit)) {
        degrees = minutes = fraction = 0;
        hemisphere = isLongitude ? kEast : kNorth;
        return;
    }

    const double g = std::fabs(a);
    degrees = static_cast<int32_t>(g);
    // r and r * 60 are exact in double; rounding r * 60 to float could reach the next minute.
    const double r = g - degrees;
    minutes = static_cast<int32_t>(r * 60.0);

    const double steps = static_cast<float>(resolution);
    // The one rounding to single precision of the rest of the minute is part of the result:
    // 32.21121 prints 673 because of it.
    const float x =
        static_cast<float>((r - minutes * static_cast<double>(kOneSixtieth)) * steps * 60.0);
    fraction = x > 0 ? static_cast<int32_t>(x + 0.5) : static_cast<int32_t>(x - 0.5);
    // The constant's excess can pull x below -0.5 only at resolutions far above 100000.
    fraction = std::max(fraction, 0);

    // Negative zero counts as north or east.
    if (isLongitude) {
        hemisphere = a >= 0 ? kEast : kWest;
    } else {
        hemisphere = a >= 0 ? kNorth : kSouth;
    }

    if (fraction == static_cast<int32_t>(steps)) {
        fraction = 0;
        ++minutes;
        if (minutes == 60) {
            minutes = 0;
            ++degrees;
        }
    }
}

char CKoPoint::GetHemisphereLetter() const {
    switch (hemisphere) {
        case kNorth:
            return 'N';
        case kSouth:
            return 'S';
        case kEast:
            return 'E';
        case kWest:
            return 'W';
        default:
            return ' ';
    }
}
