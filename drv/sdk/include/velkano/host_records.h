// Records the host and the drivers exchange: turnpoint entries, routes and the header
// record of FIO_WriteHeader. Both sides create and read them, so the members, their order
// and their defaults are part of the driver interface.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "velkano/fio_codes.h"

// One turnpoint: a waypoint, an airfield or a point of a route.
//
// The kind, surface and role codes are those of velkano/fio_codes.h.
//
// The destructor is virtual so that a host can free entries a driver created.
class FIO_TPEntry {
public:
    FIO_TPEntry() = default;
    virtual ~FIO_TPEntry() = default;

    FIO_TPEntry(const FIO_TPEntry&) = default;
    FIO_TPEntry& operator=(const FIO_TPEntry&) = default;

    int32_t number = -1;  // turnpoint number; in a route, the turnpoint-file record it names
    int32_t aux = 0;      // host data
    std::string name;
    std::string shortName;
    std::string comment;  // up to 99 characters in the file
    int32_t elevation = 0;
    int32_t markFlag = 0;    // 0 or 1
    float latitude = 0.0f;   // degrees, north positive
    float longitude = 0.0f;  // degrees, east positive
    int32_t kind = velkano::kDefaultKind;
    std::string extraText;   // host data
    int32_t extraValue = 0;  // host data
    std::string icaoCode;    // four-letter airfield code
    std::string frequency;   // radio frequency as text with three decimals
    int32_t runwayLength = 0;
    int32_t runwayDirection = 0;  // degrees
    int32_t surface = velkano::kSurfaceUnset;
    std::string extraText2;      // host data
    int32_t extraWords[9] = {};  // host data; the turnpoint reader zeroes the first word
    int32_t role = velkano::kRoleTurnpoint;
    unsigned char tail[16];  // host data, left uninitialised and untouched by the drivers
};

// One route (task). Owns the entries in points: the host's own and those the route reader
// adds.
class FIO_Route {
public:
    FIO_Route() = default;
    ~FIO_Route() {
        for (FIO_TPEntry* point : points) delete point;
    }
    FIO_Route(const FIO_Route&) = delete;
    FIO_Route& operator=(const FIO_Route&) = delete;

    // Creates a default entry with the given number and role and appends it (index -1) or
    // inserts it at index (0 = in front of all). index must lie in [0, points.size()].
    void addPoint(int32_t number, int32_t role, int32_t index) {
        if (index < -1 || index > static_cast<int64_t>(points.size())) {
            throw std::out_of_range("invalid vector<T> subscript");
        }
        auto entry = std::make_unique<FIO_TPEntry>();
        entry->number = number;
        entry->role = role;
        if (index == -1) {
            points.push_back(entry.get());
        } else {
            points.insert(points.begin() + index, entry.get());
        }
        entry.release();
    }

    void* hostData = nullptr;  // the host's own member; the drivers never touch it
    int32_t id = 0;
    std::string name;
    // In order: before-start point, start, turnpoints, finish, after-finish point.
    std::vector<FIO_TPEntry*> points;
};

// Argument of FIO_WriteHeader.
struct FIO_Header {
    static constexpr int32_t kBegin = 3;  // write both file headers
    static constexpr int32_t kEnd = 4;    // write both trailers

    void* hostData = nullptr;  // the host's own member; the drivers do not read it
    int32_t kind = 0;
    int32_t turnpointCount = 0;
    int32_t routeCount = 0;
};
