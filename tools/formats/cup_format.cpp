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
