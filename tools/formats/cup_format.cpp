#include "formats/cup_format.h"

#include "velkano/fio_codes.h"

namespace velkano::tool::cup {

KindAndSurface kindForStyle(int style) {
    switch (style) {
        case kStyleGrassAirfield:
            return {kFirstAirfieldKind, kSurfaceG};
        case kStyleSolidAirfield:
            return {kFirstAirfieldKind, kSurfaceH};
        case kStyleOutlanding:
        case kStyleGlidingAirfield:
            return {kFirstAirfieldKind, kSurfaceUnset};
        default:
            return {kDefaultKind, kSurfaceUnset};
    }
}

int styleFor(int32_t kind, int32_t surface) {
    if (!isAirfieldKind(kind)) return kStyleWaypoint;
    if (surface == kSurfaceH) return kStyleSolidAirfield;
    if (surface == kSurfaceG) return kStyleGrassAirfield;
    return kStyleGlidingAirfield;
}

int32_t roleByPlace(size_t i, size_t count) {
    if (i == 0) return kRoleBeforeStart;
    if (i + 1 == count) return kRoleAfterFinish;
    if (i == 1) return kRoleStart;
    if (i + 2 == count) return kRoleFinish;
    return kRoleTurnpoint;
}

std::string_view styleName(int style) {
    static constexpr std::string_view kNames[] = {"unknown",
                                                  "waypoint",
                                                  "airfield with grass runway",
                                                  "outlanding field",
                                                  "gliding airfield",
                                                  "airfield with solid runway",
                                                  "mountain pass",
                                                  "mountain top",
                                                  "transmitter mast",
                                                  "VOR",
                                                  "NDB",
                                                  "cooling tower",
                                                  "dam",
                                                  "tunnel",
                                                  "bridge",
                                                  "power plant",
                                                  "castle",
                                                  "intersection",
                                                  "marker",
                                                  "reporting point",
                                                  "paraglider take-off",
                                                  "paraglider landing zone"};
    return style >= 0 && static_cast<size_t>(style) < std::size(kNames) ? kNames[style] : "";
}

std::string looseName(std::string_view name) {
    std::string key;
    for (const char c : name) {
        if (c >= 'a' && c <= 'z') {
            key += static_cast<char>(c - 'a' + 'A');
        } else if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
            key += c;
        }
    }
    return key;
}

}  // namespace velkano::tool::cup
