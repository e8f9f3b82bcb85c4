// A task file and its turnpoint file as plain values: what the route driver reads and writes,
// and what every format of tasks (JSON, CUP, the view page) converts from and to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "velkano/fio_codes.h"
#include "velkano/host_records.h"

namespace velkano::tool {

// The largest record count a file header carries.
constexpr size_t kMaxTurnpoints = velkano::kMaxRecordCount;
constexpr size_t kMaxRoutes = velkano::kMaxRecordCount;
constexpr size_t kMaxListedPoints = velkano::kMaxListedPoints;

// A route point: the turnpoint it names by number, and its role. Left-out members keep the
// defaults of fresh host records.
struct RoutePointFields {
    int32_t number = -1;
    int32_t role = kRoleTurnpoint;
};

struct RouteFields {
    int32_t id = 0;
    std::string name;  // windows-1252
    std::vector<RoutePointFields> points;
};

struct TaskDocument {
    std::vector<FIO_TPEntry> turnpoints;  // texts windows-1252
    std::vector<RouteFields> routes;
};

}  // namespace velkano::tool
