// A check a host can make at start-up that it sees the C++ types it shares with the drivers
// the way they were built: another compiler, standard library or string ABI changes these
// layouts without any error at build or load time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "velkano/host_records.h"

struct VelkanoAbi {
    enum Library : int32_t { otherLibrary = 0, libstdcxx = 1, libcxx = 2, msvcStl = 3 };

    int32_t library;         // the standard library
    int32_t libraryRelease;  // its major release (GCC's for libstdc++), 0 when unknown
    uint32_t stringSize;
    uint32_t vectorSize;
    uint32_t entrySize;  // FIO_TPEntry
    uint32_t routeSize;  // FIO_Route

    friend bool operator==(const VelkanoAbi&, const VelkanoAbi&) = default;
};

// The layout as the including translation unit sees it.
constexpr VelkanoAbi velkanoAbiHere() {
    return {
#if defined(__GLIBCXX__) && defined(_GLIBCXX_RELEASE)
        VelkanoAbi::libstdcxx, _GLIBCXX_RELEASE,
#elif defined(_LIBCPP_VERSION)
        VelkanoAbi::libcxx, _LIBCPP_VERSION / 1000,
#elif defined(_MSVC_STL_VERSION)
        VelkanoAbi::msvcStl, _MSVC_STL_VERSION,
#else
        VelkanoAbi::otherLibrary, 0,
#endif
            sizeof(std::string), sizeof(std::vector<FIO_TPEntry*>), sizeof(FIO_TPEntry),
            sizeof(FIO_Route)
    };
}

// The layout the host library was built with, in the same build and with the same compiler
// as the drivers.
VelkanoAbi velkanoBuildAbi();

// True when a host may pass its records and files to the drivers of that build.
inline bool velkanoAbiMatches() {
    return velkanoAbiHere() == velkanoBuildAbi();
}
