// Routes in the shape the route driver writes them. The driver numbers the turnpoints
// 1, 2, 3... in writing order, so each route point is pointed at its turnpoint's position;
// a route record keeps its before-start and after-finish points in slots of their own, so
// those go first and last, whatever their place in the JSON.
#pragma once

#include <memory>
#include <vector>

#include "formats/task_json.h"

namespace velkano::tool {

// Throws JsonError for a turnpoint number used twice, a route point naming no turnpoint and
// a route with two before-start or two after-finish points.
std::vector<std::unique_ptr<FIO_Route>> routesForWriting(const TaskDocument& task);

}  // namespace velkano::tool
