// The codes and text lengths of the host records, as the tool reads and writes them: turnpoint
// kinds and surfaces, route point roles, and how much of each text the files keep.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velkano::tool {

inline constexpr int32_t kKinds[] = {1,   4,    5,    7,    8,    10,   256,  512,
                                     768, 1024, 1536, 1792, 2048, 2304, 2560, 2816};
inline constexpr int32_t kPointKind = 1;
inline constexpr int32_t kAirfieldKind = 256;
// Airfield kinds have a bit here; point kinds have none.
inline constexpr int32_t kAirfieldKindMask = 0xff00;

inline constexpr int32_t kSurfaces[] = {0, 1, 3, 5};
inline constexpr int32_t kSurfaceHard = 0;   // 'H'
inline constexpr int32_t kSurfaceGrass = 1;  // 'G'
inline constexpr int32_t kSurfaceF = 3;      // 'F'
inline constexpr int32_t kSurfaceNone = 5;   // no runway entry set it

inline constexpr int32_t kRoles[] = {1, 3, 4, 5, 6, 7};
inline constexpr int32_t kRoleTurnpoint = 1;
inline constexpr int32_t kRoleFlagged = 3;
inline constexpr int32_t kRoleStart = 4;
inline constexpr int32_t kRoleAfterFinish = 5;
inline constexpr int32_t kRoleBeforeStart = 6;
inline constexpr int32_t kRoleFinish = 7;

// Longest text each field keeps: its width less the terminating zero.
inline constexpr size_t kLongestName = 29;
inline constexpr size_t kLongestShortName = 19;
inline constexpr size_t kLongestComment = 99;
inline constexpr size_t kLongestIcaoCode = 30;
inline constexpr size_t kLongestRouteName = 200;

inline constexpr bool isAirfieldKind(int32_t kind) {
    return (kind & kAirfieldKindMask) != 0;
}

}  // namespace velkano::tool
