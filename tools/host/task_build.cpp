#include "host/task_build.h"

#include <memory>

#include "formats/json_text.h"
#include "formats/route_layout.h"
#include "formats/task_json.h"
#include "host/driver_library.h"
#include "host/task_writer.h"
#include "io/file_kind.h"
#include "io/paths.h"
#include "velkano/companion_path.h"

namespace velkano::tool {

namespace {

void checkOutputPath(const BuildRequest& request) {
    if (hasExtension(request.output, kCompanionExtension)) {
        throw ToolError(
            request.output,
            "a task file cannot end in .top: its turnpoint file would be written over it");
    }
    for (const std::string& input : request.inputs) {
        if (sameFile(request.output, input) ||
            sameFile(companionPathForWriting(request.output), input)) {
            throw ToolError(request.output, "would write over the input file " + input);
        }
    }
}

TaskDocument taskFromJsonFile(const std::string& path, const NoteReporter& reportNote) {
    try {
        TaskDocument task = taskFromJson(parseJson(readWholeFile(path)));
        for (const Note& note : storageNotes(task))
            reportNote(path, note.where + ": " + note.message);
        return task;
    } catch (const JsonError& e) {
        throw ToolError(path, e.pointer().empty() ? e.what() : e.pointer() + ": " + e.what());
    }
}

CupImport taskFromCupFiles(const BuildRequest& request) {
    std::vector<CupFile> files;
    for (const std::string& path : request.inputs) files.push_back({path, readWholeFile(path)});
    try {
        return readCup(files, request.cup);
    } catch (const CupError& e) {
        throw ToolError(e.where(), e.what());
    }
}

}  // namespace

Notes buildTaskFile(const std::string& driverDir, const BuildRequest& request,
                    const NoteReporter& reportNote) {
    for (const std::string& input : request.inputs) expectFileKind(input, FileKind::other);
    const bool fromCup = hasExtension(request.inputs.front(), kCupExtension);
    checkOutputPath(request);
    CupImport imported;
    if (fromCup) {
        imported = taskFromCupFiles(request);
    } else {
        imported.task = taskFromJsonFile(request.inputs.front(), reportNote);
    }
    std::vector<std::unique_ptr<FIO_Route>> routes;
    try {
        routes = routesForWriting(imported.task);
    } catch (const JsonError& e) {
        throw ToolError(request.inputs.front(), e.pointer() + ": " + e.what());
    }
    auto driver = loadDriver(driverDir, kRouteDriver);
    writeTaskFile(*driver, imported.task, routes, request.output);
    return std::move(imported.notes);
}

}  // namespace velkano::tool
