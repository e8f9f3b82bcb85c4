#include "cup_format.h"

#include "host_codes.h"

namespace velkano::tool::cup {

KindAndSurface kindForStyle(int style) {
    switch (style) {
        case kStyleGrassAirfield:
            return {kAirfieldKinds[0], kSurfaceG};
        case kStyleSolidAirfield:
            return {kAirfieldKinds[0], kSurfaceH};
        case kStyleOutlanding:
        case kStyleGlidingAirfield:
            return {kAirfieldKinds[0], kSurfaceUnset};
        default:
            return {kDefaultKind, kSurfaceUnset};
    }
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
