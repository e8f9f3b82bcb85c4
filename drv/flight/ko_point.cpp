#include "ko_point.h"

#include <algorithm>
#include <cmath>

namespace {

// The single-precision 1/60 lies a little above 1/60. Printed positions have always been
// computed with it, and it decides the last digit in some cases (62.953125 -> 187, not 188),
// so it stays.
constexpr float kOneSixtieth = 1.0f / 60.0f;
static_assert(kOneSixtieth == 0x1.111112p-6f && kOneSixtieth > 1.0 / 60.0);

constexpr int32_t kLargestResolution = (1 << 24) - 1;
constexpr double kLatitudeLimit = 90.0;
constexpr double kLongitudeLimit = 180.0;
constexpr int32_t kMinutesPerDegree = 60;

// One reflection over a pole or one wrap over the date line, held in single precision.
double foldIntoRange(double v, bool isLongitude) {
    if (!isLongitude && v > kLatitudeLimit) {
        return static_cast<float>(kLatitudeLimit - std::fmod(v, kLatitudeLimit));
    }
    if (!isLongitude && v < -kLatitudeLimit) {
        return static_cast<float>(-kLatitudeLimit - std::fmod(v, kLatitudeLimit));
    }
    if (isLongitude && v > kLongitudeLimit) {
        return static_cast<float>(std::fmod(v, kLongitudeLimit) - kLongitudeLimit);
    }
    if (isLongitude && v < -kLongitudeLimit) {
        return static_cast<float>(std::fmod(v, kLongitudeLimit) + kLongitudeLimit);
    }
    return v;
}

// Negative zero counts as north or east.
int32_t hemisphereOf(double a, bool isLongitude) {
    if (isLongitude) return a >= 0 ? CKoPoint::kEast : CKoPoint::kWest;
    return a >= 0 ? CKoPoint::kNorth : CKoPoint::kSouth;
}

}  // namespace

CKoPoint::CKoPoint(float value, bool isLongitude, int32_t resolution)
    : resolution(resolution <= 0 ? kDefaultResolution : std::min(resolution, kLargestResolution)) {
    Split(value, isLongitude);
}

void CKoPoint::Split(float value, bool isLongitude) {
    const double limit = isLongitude ? kLongitudeLimit : kLatitudeLimit;
    const double a = foldIntoRange(value, isLongitude);
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
    minutes = static_cast<int32_t>(r * kMinutesPerDegree);

    const double steps = static_cast<float>(resolution);
    // The one rounding to single precision of the rest of the minute is part of the result:
    // 32.21121 prints 673 because of it.
    const float x = static_cast<float>((r - minutes * static_cast<double>(kOneSixtieth)) * steps *
                                       kMinutesPerDegree);
    fraction = x > 0 ? static_cast<int32_t>(x + 0.5) : static_cast<int32_t>(x - 0.5);
    // The constant's excess can pull x below -0.5 only at resolutions far above 100000.
    fraction = std::max(fraction, 0);
    hemisphere = hemisphereOf(a, isLongitude);

    // A fraction rounded up to a whole minute carries into the minutes and degrees.
    if (fraction == static_cast<int32_t>(steps)) {
        fraction = 0;
        ++minutes;
        if (minutes == kMinutesPerDegree) {
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
