#include "formats/route_layout.h"

#include <optional>
#include <unordered_map>

namespace velkano::tool {

namespace {

using velkano::kRoleAfterFinish;
using velkano::kRoleBeforeStart;
constexpr int32_t kNoPoint = -1;

std::string pointPointer(size_t route, size_t point, const char* member) {
    return childPointer(childPointer(childPointer(childPointer("/routes", route), "points"), point),
                        member);
}

// Position (1-based) of each numbered turnpoint. Negative numbers name nothing: a route
// point with a negative number is no point, so they need not be unique.
std::unordered_map<int32_t, int32_t> turnpointPositions(
    const std::vector<FIO_TPEntry>& turnpoints) {
    std::unordered_map<int32_t, int32_t> positions;
    for (size_t i = 0; i < turnpoints.size(); ++i) {
        const int32_t number = turnpoints[i].number;
        if (number < 0) continue;
        const auto [it, added] = positions.emplace(number, static_cast<int32_t>(i + 1));
        if (!added) {
            throw JsonError(childPointer(childPointer("/turnpoints", i), "number"),
                            "turnpoint number " + std::to_string(number) +
                                " is already used by /turnpoints/" +
                                std::to_string(it->second - 1));
        }
    }
    return positions;
}

// A route's points by where the file keeps them: the before-start and after-finish slots,
// and the listed points in order.
struct PointPlaces {
    std::optional<size_t> beforeStart;
    std::optional<size_t> afterFinish;
    std::vector<size_t> listed;
};

PointPlaces placePoints(const RouteFields& desc, size_t r) {
    PointPlaces places;
    for (size_t p = 0; p < desc.points.size(); ++p) {
        const int32_t role = desc.points[p].role;
        std::optional<size_t>* slot = role == kRoleBeforeStart   ? &places.beforeStart
                                      : role == kRoleAfterFinish ? &places.afterFinish
                                                                 : nullptr;
        if (slot == nullptr) {
            places.listed.push_back(p);
        } else if (slot->has_value()) {
            throw JsonError(pointPointer(r, p, "role"),
                            std::string("a second ") +
                                (role == kRoleBeforeStart ? "before-start" : "after-finish") +
                                " point");
        } else {
            *slot = p;
        }
    }
    return places;
}

// The number the driver gives the point's turnpoint; negative numbers stay (no point).
int32_t writtenNumber(const std::unordered_map<int32_t, int32_t>& positions,
                      const RouteFields& desc, size_t r, std::optional<size_t> point) {
    if (!point) return kNoPoint;
    const int32_t number = desc.points[*point].number;
    if (number < 0) return number;
    const auto it = positions.find(number);
    if (it == positions.end()) {
        throw JsonError(pointPointer(r, *point, "number"),
                        "no turnpoint has the number " + std::to_string(number));
    }
    return it->second;
}

}  // namespace

std::vector<std::unique_ptr<FIO_Route>> routesForWriting(const TaskDocument& task) {
    const auto positions = turnpointPositions(task.turnpoints);
    std::vector<std::unique_ptr<FIO_Route>> routes;
    routes.reserve(task.routes.size());
    for (size_t r = 0; r < task.routes.size(); ++r) {
        const RouteFields& desc = task.routes[r];
        const PointPlaces places = placePoints(desc, r);
        auto route = std::make_unique<FIO_Route>();
        route->id = desc.id;
        route->name = desc.name;
        route->addPoint(writtenNumber(positions, desc, r, places.beforeStart), kRoleBeforeStart,
                        -1);
        for (const size_t p : places.listed) {
            route->addPoint(writtenNumber(positions, desc, r, p), desc.points[p].role, -1);
        }
        route->addPoint(writtenNumber(positions, desc, r, places.afterFinish), kRoleAfterFinish,
                        -1);
        routes.push_back(std::move(route));
    }
    return routes;
}

}  // namespace velkano::tool
