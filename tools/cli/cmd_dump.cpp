// velkano dump: a task file and its turnpoint file as JSON, read through the route driver
// as the host program reads them.
#include <memory>

#include "cli/command_support.h"
#include "cli/commands.h"
#include "formats/output_formats.h"
#include "host/task_reader.h"

namespace velkano::tool {

namespace {

constexpr CommandHelp kHelp = {
    "dump", "Print a task file and its turnpoint file as JSON",
    "Reads TASK (.rtx) and the turnpoint file beside it (same name, extension .top) through\n"
    "Velkano17Rte.drf and prints {\"turnpoints\": [...], \"routes\": [...]}: every turnpoint "
    "with\n"
    "its members, every route with its id, name and points (turnpoint number and role:\n"
    "6 before-start, 4 start, 1 turnpoint, 3 flagged turnpoint, 7 finish, 5 after-finish).\n"
    "Texts are decoded from windows-1252. `velkano build` turns the JSON back into files."};

int runDump(const GlobalOptions& global, const TaskConversion& conversion) {
    const TaskDocument task = readTaskToConvert(global.driverDir, conversion);
    writeOutput(conversion.output, [&task](const OutputSink& sink) {
        Notes none;
        taskOutputFormat("json").write(task, sink, none);
    });
    return kExitOk;
}

void addOptions(CLI::App& command, TaskConversion& conversion) {
    addTaskConversionOptions(command, conversion, "Write the JSON to this file");
}

}  // namespace

CommandRunner addDumpCommand(CLI::App& app, const GlobalOptions& global) {
    return addCommand(app, global, kHelp, addOptions, runDump);
}

}  // namespace velkano::tool
