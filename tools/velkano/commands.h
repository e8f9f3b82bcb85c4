// The subcommands of velkano. Each registers its options on the CLI11 app and, when chosen,
// runs as a CommandRunner that main calls through runCommand (command_support.h): a runner
// returns the exit status and throws what it cannot do.
#pragma once

#include <functional>
#include <string>

#include <CLI/CLI.hpp>

#include "command_support.h"

namespace velkano::tool {

// Options every subcommand shares.
struct GlobalOptions {
    std::string driverDir;  // where the .drf files are; empty: as driver_search.h finds them
};

using CommandRunner = std::function<int()>;

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
