// The interface's codes as the tool checks them: every kind, surface and role a record may
// carry, and how much of each text the files keep (the field's width less its zero byte).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "velkano/fio_codes.h"

namespace velkano::tool {

using velkano::kAirfieldKindMask;
using velkano::kAirfieldKinds;
using velkano::kDefaultKind;
using velkano::kPointKinds;
using velkano::kRoleAfterFinish;
using velkano::kRoleBeforeStart;
using velkano::kRoleFinish;
using velkano::kRoleFlaggedTurnpoint;
using velkano::kRoleStart;
using velkano::kRoleTurnpoint;
using velkano::kSurfaceF;
using velkano::kSurfaceG;
using velkano::kSurfaceH;
using velkano::kSurfaceUnset;

inline constexpr auto kKinds = [] {
    std::array<int32_t, std::size(kPointKinds) + std::size(kAirfieldKinds)> all{};
    size_t i = 0;
    for (const int32_t kind : kPointKinds) all[i++] = kind;
    for (const int32_t kind : kAirfieldKinds) all[i++] = kind;
    return all;
}();
inline constexpr int32_t kSurfaces[] = {kSurfaceH, kSurfaceG, kSurfaceF, kSurfaceUnset};
inline constexpr int32_t kRoles[] = {kRoleTurnpoint,   kRoleFlaggedTurnpoint, kRoleStart,
                                     kRoleAfterFinish, kRoleBeforeStart,      kRoleFinish};

inline constexpr size_t kLongestName = kTurnpointNameWidth - 1;
inline constexpr size_t kLongestShortName = kTurnpointShortNameWidth - 1;
inline constexpr size_t kLongestComment = kTurnpointCommentWidth - 1;
inline constexpr size_t kLongestIcaoCode = kTurnpointIcaoWidth - 1;
inline constexpr size_t kLongestRouteName = kRouteNameWidth - 1;

inline constexpr bool isAirfieldKind(int32_t kind) {
    return (kind & kAirfieldKindMask) != 0;
}

}  // namespace velkano::tool
