#include "task_reader.h"

#include <cstring>
#include <memory>
#include <set>

#include "atomic_output.h"
#include "command_support.h"
#include "cp1252.h"
#include "driver_session.h"
#include "file_kind.h"
#include "tracked_file.h"
#include "velkano/companion_path.h"

namespace velkano::tool {

namespace {

constexpr int32_t kReadTurnpoint = 1;
constexpr int32_t kReadRoute = 2;
constexpr int32_t kNothingLeft = -1;
constexpr const char* kBadFile = "bad file";

std::string recordOf(const FIO_Error& error, const char* record, size_t number) {
    return error.message == kBadFile ? "header"
                                     : std::string(record) + " " + std::to_string(number);
}

std::string cutShort(const std::string& where, uint64_t size) {
    return "file ends at byte " + std::to_string(size) + " inside " + where + " (cut short?)";
}

// Where a driver error points: the header, or the record and (when the file is ours to
// watch) the byte where the failing field begins, or where the file ends when a field ran
// past it.
std::string location(const FIO_Error& error, const char* record, size_t number,
                     const TrackedFile* file) {
    const std::string where = recordOf(error, record, number);
    if (file == nullptr) return error.message + " (" + where + ")";
    if (file->readPastEnd()) return cutShort(where, fileSizeOf(file->GetFilePath()));
    return error.message + " (" + where + ", byte " + std::to_string(file->lastReadStart()) + ")";
}

// Routes name their points by turnpoint number; a number the turnpoint file did not give
// points nowhere, and a host would show an empty or wrong point.
void expectPointsRead(const TaskDocument& document, const std::string& path) {
    std::set<int32_t> numbers;
    for (const FIO_TPEntry& turnpoint : document.turnpoints) numbers.insert(turnpoint.number);
    for (size_t r = 0; r < document.routes.size(); ++r) {
        const RouteFields& route = document.routes[r];
        for (size_t p = 0; p < route.points.size(); ++p) {
            if (numbers.count(route.points[p].number) != 0) continue;
            throw ToolError(path, "route " + std::to_string(r + 1) + " (\"" +
                                      decodeCp1252(route.name) + "\"), point " +
                                      std::to_string(p + 1) + ": no turnpoint " +
                                      std::to_string(route.points[p].number) + " in " +
                                      companionPathForReading(path));
        }
    }
}

RouteFields routeFields(const FIO_Route& route) {
    RouteFields fields;
    fields.id = route.id;
    fields.name = route.name;
    fields.points.reserve(route.points.size());
    for (const FIO_TPEntry* point : route.points)
        fields.points.push_back({point->number, point->role});
    return fields;
}

}  // namespace

TaskDocument readTaskFile(DriverLibrary& driver, const std::string& path) {
    expectFileKind(path, FileKind::task);
    std::unique_ptr<CStdioFile> file = openInput(path);
    TrackedFile task(*file);
    DriverSession session(driver);
    TaskDocument document;
    for (;;) {
        FIO_TPEntry entry;
        std::memset(entry.tail, 0, sizeof entry.tail);
        FIO_Route route;
        const uint64_t readsBefore = task.readCount();
        int32_t result = 0;
        try {
            result = driver.ReadObject(&task, &entry, &route);
        } catch (const FIO_Error& e) {
            // A call that did not touch the task file failed in the turnpoint file, which
            // the driver opens and reads itself.
            if (task.readCount() == readsBefore) {
                throw ToolError(companionPathForReading(path),
                                location(e, "turnpoint", document.turnpoints.size() + 1, nullptr));
            }
            throw ToolError(path, location(e, "route", document.routes.size() + 1, &task));
        } catch (...) {
            throw currentError({path});
        }
        // A driver that takes what a short read leaves as zeros would pass a cut route.
        if (task.readPastEnd()) {
            throw ToolError(path,
                            cutShort(result == kNothingLeft
                                         ? "header"
                                         : "route " + std::to_string(document.routes.size() + 1),
                                     fileSizeOf(path)));
        }
        if (result == kNothingLeft) break;
        if (result == kReadTurnpoint && document.turnpoints.size() < kMaxTurnpoints) {
            document.turnpoints.push_back(std::move(entry));
        } else if (result == kReadRoute && document.routes.size() < kMaxRoutes) {
            document.routes.push_back(routeFields(route));
        } else {
            throw ToolError(path, "the driver answered " + std::to_string(result) + " after " +
                                      std::to_string(document.turnpoints.size()) +
                                      " turnpoints and " + std::to_string(document.routes.size()) +
                                      " routes");
        }
    }
    expectPointsRead(document, path);
    return document;
}

void refuseToWriteOverTask(const std::string& output, const std::string& task) {
    if (sameFile(output, task) || sameFile(output, companionPathForReading(task))) {
        throw ToolError(output, "is an input file; refusing to write over it");
    }
}

}  // namespace velkano::tool
