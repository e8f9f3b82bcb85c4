// A coordinate split into whole degrees, whole minutes, the rest of the minute in units of
// 1/resolution, and a hemisphere: the parts an IGC line prints for a position.
#pragma once

#include <cstdint>

class CKoPoint {
public:
    static constexpr int32_t kDefaultResolution = 100;
    enum Hemisphere : int32_t { kNorth = 0, kSouth = 1, kEast = 2, kWest = 3 };

    // value in degrees, north and east positive. A resolution of 0 (or below) selects
    // kDefaultResolution; resolutions of 2^24 and more are held at 2^24 - 1, the largest
    // whose arithmetic stays exact.
    CKoPoint(float value, bool isLongitude, int32_t resolution);
    virtual ~CKoPoint() = default;

    CKoPoint(const CKoPoint&) = default;
    CKoPoint& operator=(const CKoPoint&) = default;

    // Fills degrees, minutes, fraction and hemisphere from value and the stored resolution.
    // Afterwards 0 <= degrees <= limit (90 or 180), 0 <= minutes <= 59 and
    // 0 <= fraction < resolution; degrees reaches the limit only with minutes and fraction 0.
    // A value that is not finite gives 0, 0, 0 and N or E.
    void Split(float value, bool isLongitude);

    // 'N', 'S', 'E', 'W' for the hemisphere codes 0 to 3, a space for any other.
    char GetHemisphereLetter() const;

    int32_t degrees = 0;
    int32_t minutes = 0;
    int32_t fraction = 0;
    int32_t hemisphere = kNorth;
    int32_t resolution = kDefaultResolution;
};
