// What `velkano cup` writes and `velkano build FILE.cup` reads back: the CUP waypoint file of
// gliding software, its columns, styles and task section, and the tags this tool adds so that
// a round trip keeps what CUP has no column for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velkano::tool::cup {

// The current published layout, and the classic one older readers take by position.
inline constexpr std::string_view kHeader14 =
    "name,code,country,lat,lon,elev,style,rwdir,rwlen,rwwidth,freq,desc,userdata,pics";
inline constexpr std::string_view kHeader11 =
    "name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc";
inline constexpr std::string_view kTasksSeparator = "-----Related Tasks-----";
inline constexpr std::string_view kLineEnd = "\r\n";

inline constexpr int kStyleUnknown = 0;
inline constexpr int kStyleWaypoint = 1;
inline constexpr int kStyleGrassAirfield = 2;
inline constexpr int kStyleOutlanding = 3;
inline constexpr int kStyleGlidingAirfield = 4;
inline constexpr int kStyleSolidAirfield = 5;

// Readers take frequencies only inside the airband.
inline constexpr double kLowestFrequency = 118.0;
inline constexpr double kHighestFrequency = 137.0;

// Coordinates are written in thousandths of a minute.
inline constexpr int64_t kUnitsPerDegree = 60000;
inline constexpr int64_t kUnitsPerMinute = 1000;

// userdata members: "kind=256;surface=1;mark=1;code=icao;icao=EDXY", icao last.
inline constexpr char kTagSeparator = ';';
inline constexpr std::string_view kTagKind = "kind";
inline constexpr std::string_view kTagSurface = "surface";
inline constexpr std::string_view kTagMark = "mark";
inline constexpr std::string_view kTagIcao = "icao";
// "code=icao": the code column holds the ICAO code; the short name is empty.
inline constexpr std::string_view kTagCode = "code";
inline constexpr std::string_view kCodeIsIcao = "icao";

// desc carries what has no column: "comment; freq 8.330; ICAO EDXY".
inline constexpr std::string_view kDescSeparator = "; ";
inline constexpr std::string_view kDescFrequency = "freq ";
inline constexpr std::string_view kDescIcao = "ICAO ";

// A task line names at most this many points from start to finish for XCSoar, which reads
// 30 columns: description, takeoff, 27 points, landing.
inline constexpr size_t kMostPointsXcsoarReads = 27;

struct KindAndSurface {
    int32_t kind;
    int32_t surface;
};

// The kind and surface a style stands for when no tag of ours says otherwise.
KindAndSurface kindForStyle(int style);
// The style `velkano cup` writes for a kind and surface.
int styleFor(int32_t kind, int32_t surface);
// The role of the point at index i of a task line's count points: takeoff first and landing
// last, the second point starts and the one before landing finishes.
int32_t roleByPlace(size_t i, size_t count);
// "outlanding field" for 3; empty for a number that is no CUP style.
std::string_view styleName(int style);

// How XCSoar compares waypoint names: upper case, ASCII letters and digits only.
std::string looseName(std::string_view name);

}  // namespace velkano::tool::cup
