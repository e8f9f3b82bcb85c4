// The interface's codes as the tool uses them, and how much of each text the files keep (the
// field's width less its zero byte).
#pragma once

#include <cstddef>
#include <cstdint>

#include "velkano/fio_codes.h"

namespace velkano::tool {

using velkano::kAirfieldKindMask;
using velkano::kDefaultKind;
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

using velkano::kKinds;
using velkano::kRoles;
using velkano::kSurfaces;

// The first airfield kind: what a CUP airfield style stands for.
inline constexpr int32_t kAirfieldKind = 256;

inline constexpr size_t kLongestName = kTurnpointNameWidth - 1;
inline constexpr size_t kLongestShortName = kTurnpointShortNameWidth - 1;
inline constexpr size_t kLongestComment = kTurnpointCommentWidth - 1;
inline constexpr size_t kLongestIcaoCode = kTurnpointIcaoWidth - 1;
inline constexpr size_t kLongestRouteName = kRouteNameWidth - 1;

inline constexpr bool isAirfieldKind(int32_t kind) {
    return (kind & kAirfieldKindMask) != 0;
}

}  // namespace velkano::tool
