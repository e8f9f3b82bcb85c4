// velkano dump: a task file and its turnpoint file as JSON, read through the route driver
// as the host program reads them.
#include <cstring>
#include <memory>

#include "atomic_output.h"
#include "command_support.h"
#include "commands.h"
#include "driver_session.h"
#include "json_text.h"
#include "route_json.h"
#include "tracked_file.h"

namespace velkano::tool {

namespace {

constexpr int32_t kReadTurnpoint = 1;
constexpr int32_t kReadRoute = 2;
constexpr int32_t kNothingLeft = -1;
constexpr const char* kBadFile = "bad file";

struct DumpOptions {
    std::string input;
    std::string output;
};

// Where a driver error points: the header, or the record and (when the file is ours to
// watch) the byte where the failing field begins.
std::string location(const FIO_Error& error, const char* record, size_t number,
                     const TrackedFile* file) {
    std::string where =
        error.message == kBadFile ? "header" : std::string(record) + " " + std::to_string(number);
    if (file != nullptr) where += ", byte " + std::to_string(file->lastReadStart());
    return error.message + " (" + where + ")";
}

Json readTask(DriverLibrary& driver, const std::string& path) {
    std::unique_ptr<CStdioFile> file = openInput(path);
    TrackedFile task(*file);
    DriverSession session(driver);
    Json turnpoints = Json::array();
    Json routes = Json::array();
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
                throw ToolError(withExtension(path, ".top"),
                                location(e, "turnpoint", turnpoints.size() + 1, nullptr));
            }
            throw ToolError(path, location(e, "route", routes.size() + 1, &task));
        } catch (const CFileException& e) {
            throw ToolError(e.m_strFileName, fileErrorReason(e));
        } catch (const std::exception& e) {
            throw ToolError(path, e.what());
        }
        if (result == kNothingLeft) break;
        if (result == kReadTurnpoint && turnpoints.size() < kMaxTurnpoints) {
            turnpoints.push_back(turnpointToJson(entry));
        } else if (result == kReadRoute && routes.size() < kMaxRoutes) {
            routes.push_back(routeToJson(route));
        } else {
            throw ToolError(path, "the driver answered " + std::to_string(result) + " after " +
                                      std::to_string(turnpoints.size()) + " turnpoints and " +
                                      std::to_string(routes.size()) + " routes");
        }
    }
    Json document = Json::object();
    document["turnpoints"] = std::move(turnpoints);
    document["routes"] = std::move(routes);
    return document;
}

int runDump(const GlobalOptions& global, const DumpOptions& options) {
    try {
        const bool toStandardOutput = options.output.empty() || options.output == "-";
        if (!toStandardOutput && (sameFile(options.output, options.input) ||
                                  sameFile(options.output, withExtension(options.input, ".top")))) {
            throw ToolError(options.output, "is an input file; refusing to write over it");
        }
        auto driver = loadDriver(driverPath(global, kRouteDriver));
        const std::string json = formatJson(readTask(*driver, options.input));
        if (toStandardOutput) {
            writeStandardOutput(json);
        } else {
            AtomicOutput output(options.output);
            output.write(json);
            output.commit();
        }
        return kExitOk;
    } catch (const ToolError& e) {
        reportError(e);
        return kExitFailure;
    }
}

}  // namespace

CommandRunner addDumpCommand(CLI::App& app, const GlobalOptions& global) {
    CLI::App* command =
        app.add_subcommand("dump", "Print a task file and its turnpoint file as JSON");
    command->footer(
        "Reads TASK (.rtx) and the turnpoint file beside it (same name, extension .top) through\n"
        "Velkano17Rte.drf and prints {\"turnpoints\": [...], \"routes\": [...]}: every turnpoint "
        "with\n"
        "its members, every route with its id, name and points (turnpoint number and role:\n"
        "6 before-start, 4 start, 1 turnpoint, 3 flagged turnpoint, 7 finish, 5 after-finish).\n"
        "Texts are decoded from windows-1252. `velkano build` turns the JSON back into files.");
    auto options = std::make_shared<DumpOptions>();
    command->add_option("task", options->input, "Task file to read (.rtx)")->required();
    command->add_option("-o,--output", options->output,
                        "Write the JSON to this file (replaced only once complete) instead of "
                        "standard output; - is standard output");
    return [&global, options] { return runDump(global, *options); };
}

}  // namespace velkano::tool
