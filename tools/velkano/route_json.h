// The JSON form of a task file and its turnpoints, as `velkano dump` prints it and
// `velkano build` reads it back. Texts are windows-1252 in the files and UTF-8 in JSON.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "json_text.h"
#include "output_sink.h"
#include "velkano/host_records.h"

namespace velkano::tool {

// The largest record count a file header carries.
constexpr size_t kMaxTurnpoints = velkano::kMaxRecordCount;
constexpr size_t kMaxRoutes = velkano::kMaxRecordCount;
constexpr size_t kMaxListedPoints = velkano::kMaxListedPoints;

// A route as the JSON gives it. Left-out members keep the defaults of fresh host records.
struct RoutePointFields {
    int32_t number = -1;
    int32_t role = 1;
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

Json turnpointToJson(const FIO_TPEntry& entry);
// The document `velkano dump` prints.
Json taskToJson(const TaskDocument& task);

// formatJson(taskToJson(task)), handed to sink in blocks: a task file of thousands of routes
// is never held as one document or one text.
void writeTaskJson(const TaskDocument& task, const OutputSink& sink);

// Checks every member strictly: unknown names, wrong types, values a file cannot hold and
// texts with no windows-1252 form are refused with a JsonError naming the item.
TaskDocument taskFromJson(const Json& document);

// A member a task file cannot keep in full, with what it keeps instead.
struct StorageNote {
    std::string pointer;
    std::string message;
};

// Texts longer than their field: the file keeps their first characters.
std::vector<StorageNote> storageNotes(const TaskDocument& task);

}  // namespace velkano::tool
