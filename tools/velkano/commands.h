// The subcommands of velkano. Each registers its options on the CLI11 app and runs when
// chosen; a run returns the process exit status.
#pragma once

#include <functional>
#include <string>

#include <CLI/CLI.hpp>

// Options every subcommand shares.
struct GlobalOptions {
    std::string driverDir;  // where the .drf files are; empty: beside the executable
};

// Exit statuses scripts can rely on.
enum ExitStatus : int { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };

using CommandRunner = std::function<int()>;

CommandRunner addInfoCommand(CLI::App& app, const GlobalOptions& global);
// velkano --version: the tool's version and each driver's, as its information record gives it.
int printVersions(const GlobalOptions& global);

namespace velkano::tool {

CommandRunner addDumpCommand(CLI::App& app, const GlobalOptions& global);
CommandRunner addBuildCommand(CLI::App& app, const GlobalOptions& global);
CommandRunner addCupCommand(CLI::App& app, const GlobalOptions& global);
CommandRunner addIgcCommand(CLI::App& app, const GlobalOptions& global);
CommandRunner addListCommand(CLI::App& app, const GlobalOptions& global);
CommandRunner addViewCommand(CLI::App& app, const GlobalOptions& global);

}  // namespace velkano::tool

// Path of a driver file: in --drivers DIR, else found as driver_search.h describes; throws
// velkano::tool::ToolError when it is nowhere.
std::string driverPath(const GlobalOptions& global, const std::string& fileName);
