// The task section of CUP files as routes: each task line names rows of any file, and its
// points become takeoff, start, turnpoints, finish and landing.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "formats/cup_context.h"
#include "formats/task_model.h"

namespace velkano::tool::cup {

// A task line waiting for every row of every file.
struct TaskLine {
    Place at;
    std::vector<std::string> fields;
};

// The rows read, for the task points to name.
struct RowNames {
    std::vector<std::string> names;  // UTF-8, as the rows give them, turnpoint 1 first
    std::vector<Place> places;
    std::unordered_set<std::string> leftOut;  // names of rows --skip-bad-rows left out
};

// "Options", "ObsZone", "STARTS" or "Point" for a line describing a task for a flight
// computer, which a task file has no place for; nothing for a task line.
std::optional<std::string_view> taskDetail(std::string_view line);

// Routes numbered 1, 2, 3... in the order of lines. A point naming no row is a CupError, or
// with skipBadRows leaves its task out with a note.
std::vector<RouteFields> routesFromTasks(const std::vector<TaskLine>& lines, const RowNames& rows,
                                         bool strict, bool skipBadRows, ImportNotes& notes);

}  // namespace velkano::tool::cup
