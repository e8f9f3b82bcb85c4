// velkano dump: a task file and its turnpoint file as JSON, read through the route driver
// as the host program reads them.
#include <memory>

#include "command_support.h"
#include "commands.h"
#include "json_text.h"
#include "route_json.h"
#include "task_reader.h"

namespace velkano::tool {

namespace {

struct DumpOptions {
    std::string input;
    std::string output;
};

int runDump(const GlobalOptions& global, const DumpOptions& options) {
    refuseToWriteOverTask(options.output, options.input);
    auto driver = loadDriver(global.driverDir, kRouteDriver);
    writeOutput(options.output, formatJson(taskToJson(readTaskFile(*driver, options.input))));
    return kExitOk;
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
