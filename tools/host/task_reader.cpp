#include "host/task_reader.h"

#include <cstring>
#include <memory>
#include <set>

#include "formats/cp1252.h"
#include "host/driver_search.h"
#include "host/driver_session.h"
#include "host/failure.h"
#include "host/input_file.h"
#include "host/tracked_file.h"
#include "io/file_kind.h"
#include "io/paths.h"
#include "io/standard_output.h"
#include "velkano/companion_path.h"

namespace velkano::tool {

namespace {

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
        } catch (const FIO_Error&) {
            // A call that did not touch the task file failed in the turnpoint file, which
            // the driver opens and reads itself.
            if (task.readCount() == readsBefore) {
                throw currentError({companionPathForReading(path),
                                    "turnpoint " + std::to_string(document.turnpoints.size() + 1)});
            }
            throw currentError(task.scene(
                path, "route " + std::to_string(document.routes.size() + 1), fileSizeOf(path)));
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
    if (isStandardOutput(output)) return;
    if (sameFile(output, task) || sameFile(output, companionPathForReading(task))) {
        throw ToolError(output, "is an input file; refusing to write over it");
    }
}

TaskDocument readTaskToConvert(const std::string& driverDir, const TaskConversion& conversion) {
    refuseToWriteOverTask(conversion.output, conversion.input);
    const std::unique_ptr<DriverLibrary> driver = loadDriver(driverDir, kRouteDriver);
    return readTaskFile(*driver, conversion.input);
}

}  // namespace velkano::tool
