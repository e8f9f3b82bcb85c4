// Codes and limits of the driver interface: the values hosts put into the records they pass,
// and the limits the drivers enforce on the files. Drivers, hosts and tools take them from
// here.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velkano {

// What the exports return. FIO_ReadObject: the kind of object it read, or kNothingLeft once
// the task file is read to its end (and kRefused without a state or a file). The write
// exports: kDone, or kRefused beyond the announced counts. FIO_Flight2IGC: kDone for a
// converted flight, kNoFlightLeft at the end of the file, kRefused without a state.
inline constexpr int32_t kReadTurnpoint = 1;
inline constexpr int32_t kReadRoute = 2;
inline constexpr int32_t kDone = 1;
inline constexpr int32_t kRefused = -1;
inline constexpr int32_t kNothingLeft = kRefused;
inline constexpr int32_t kNoFlightLeft = 0;

// File-type codes, single bits of FIO_GetExtensions' type word. The route driver serves
// the four task-file codes, the flight driver the flight-file code.
inline constexpr int32_t kTaskFileTypes[] = {1, 8, 64, 512};
inline constexpr int32_t kFlightFileType = 0x40000;

// FIO_TPEntry::kind: the point kinds, then the airfield kinds. The codes with a bit in
// kAirfieldKindMask are airfields; only they carry an ICAO code.
inline constexpr int32_t kKinds[] = {1,   4,    5,    7,    8,    10,   256,  512,
                                     768, 1024, 1536, 1792, 2048, 2304, 2560, 2816};
inline constexpr int32_t kAirfieldKindMask = 0xff00;
inline constexpr int32_t kDefaultKind = 1;
// The lowest airfield code: an airfield where nothing more particular is known.
inline constexpr int32_t kFirstAirfieldKind = 256;

inline constexpr bool isAirfieldKind(int32_t kind) {
    return (kind & kAirfieldKindMask) != 0;
}
// An airfield's code of this length is its ICAO code; any other code is a point's own code.
inline constexpr size_t kIcaoCodeLength = 4;

// FIO_TPEntry::surface: the three surfaces a runway entry names by the letters 'H', 'G'
// and 'F', and the value of an entry no runway entry has set.
inline constexpr int32_t kSurfaceH = 0;
inline constexpr int32_t kSurfaceG = 1;
inline constexpr int32_t kSurfaceF = 3;
inline constexpr int32_t kSurfaceUnset = 5;
inline constexpr int32_t kSurfaces[] = {kSurfaceH, kSurfaceG, kSurfaceF, kSurfaceUnset};

// FIO_TPEntry::role, for the points of a route.
inline constexpr int32_t kRoleTurnpoint = 1;         // the default
inline constexpr int32_t kRoleFlaggedTurnpoint = 3;  // its route entry carries the flag 1
inline constexpr int32_t kRoleStart = 4;             // the first listed point
inline constexpr int32_t kRoleAfterFinish = 5;       // placed after the finish
inline constexpr int32_t kRoleBeforeStart = 6;       // placed in front of the start
inline constexpr int32_t kRoleFinish = 7;            // the last listed point
inline constexpr int32_t kRoles[] = {kRoleTurnpoint,   kRoleFlaggedTurnpoint, kRoleStart,
                                     kRoleAfterFinish, kRoleBeforeStart,      kRoleFinish};

// Largest record count a file header may carry (turnpoints, routes or flights).
inline constexpr int32_t kMaxRecordCount = 0x4000;
// Largest number of listed points a route record can count (an int16).
inline constexpr int32_t kMaxListedPoints = 32767;

// Widths in bytes of the text fields of the files. A writer keeps at most width - 1
// characters (longestText) and zero-fills the rest; a reader takes the bytes up to the first
// zero.
inline constexpr int32_t kMagicWidth = 51;  // the file header's magic text
inline constexpr int32_t kTurnpointNameWidth = 30;
inline constexpr int32_t kTurnpointShortNameWidth = 20;
inline constexpr int32_t kTurnpointIcaoWidth = 31;
inline constexpr int32_t kTurnpointCommentWidth = 100;
inline constexpr int32_t kRouteNameWidth = 201;
inline constexpr int32_t kRecorderMakerWidth = 4;
inline constexpr int32_t kRecorderSerialWidth = 6;
inline constexpr int32_t kRecorderTypeWidth = 31;
inline constexpr int32_t kPilotWidth = 41;
inline constexpr int32_t kOldGliderTypeWidth = 41;  // before record version 7
inline constexpr int32_t kGliderTypeWidth = 31;
inline constexpr int32_t kGliderIdWidth = 10;
inline constexpr int32_t kCompetitionIdWidth = 11;
inline constexpr int32_t kCompetitionClassWidth = 11;

inline constexpr size_t longestText(int32_t width) {
    return static_cast<size_t>(width - 1);
}

// The header that opens all three files: the magic text, a marker byte, the format version
// and the record count.
inline constexpr uint32_t kFileHeaderSize = 56;
// The magic texts that open the three files' headers.
inline constexpr char kTpFileMagic[] = "Velkano TP File";
inline constexpr char kTaskFileMagic[] = "Velkano TASK File";
inline constexpr char kFlightFileMagic[] = "Velkano Flight File";

}  // namespace velkano
