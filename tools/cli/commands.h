// The subcommands of velkano. Each registers its options on the CLI11 app and, when chosen,
// runs as a CommandRunner that main calls through runCommand (command_support.h): a runner
// returns the exit status and throws what it cannot do.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include <CLI/CLI.hpp>

#include "cli/command_support.h"
#include "host/driver_search.h"
#include "host/task_reader.h"
#include "io/standard_output.h"

namespace velkano::tool {

// Options every subcommand shares.
struct GlobalOptions {
    std::string driverDir;  // where the .drf files are; empty: as driver_search.h finds them
};

using CommandRunner = std::function<int()>;

// What --help says of a subcommand.
struct CommandHelp {
    const char* name;
    const char* summary;
    const char* footer;
};

// Adds the subcommand help describes, with the options addOptions binds to one Options value,
// and returns the runner that hands that value to run.
template <typename Options>
CommandRunner addCommand(CLI::App& app, const GlobalOptions& global, const CommandHelp& help,
                         void (*addOptions)(CLI::App&, Options&),
                         int (*run)(const GlobalOptions&, const Options&)) {
    CLI::App* command = app.add_subcommand(help.name, help.summary);
    command->footer(help.footer);
    auto options = std::make_shared<Options>();
    addOptions(*command, *options);
    return [&global, options, run] { return run(global, *options); };
}

// The task file to read and -o FILE, for a command that converts a task file to standard
// output unless told otherwise; what says what goes there ("Write the JSON to this file").
inline void addTaskConversionOptions(CLI::App& command, TaskConversion& conversion,
                                     const std::string& what) {
    command.add_option("task", conversion.input, "Task file to read (.rtx)")->required();
    command.add_option("-o,--output", conversion.output,
                       what +
                           " (replaced only once complete) instead of standard output; - is "
                           "standard output");
}

CommandRunner addInfoCommand(CLI::App& app, const GlobalOptions& global);
// velkano --version: the tool's version and each driver's, as its information record gives it.
int printVersions(const GlobalOptions& global);

CommandRunner addDumpCommand(CLI::App& app, const GlobalOptions& global);
CommandRunner addBuildCommand(CLI::App& app, const GlobalOptions& global);
CommandRunner addCupCommand(CLI::App& app, const GlobalOptions& global);
CommandRunner addIgcCommand(CLI::App& app, const GlobalOptions& global);
CommandRunner addListCommand(CLI::App& app, const GlobalOptions& global);
CommandRunner addViewCommand(CLI::App& app, const GlobalOptions& global);

}  // namespace velkano::tool
