// velkano: a command-line host for the Velkano 1.7 drivers. It loads the .drf plug-ins as
// the host program does and converts legacy flight and route files.
#include <cstdio>
#include <map>

#include "cli/command_support.h"
#include "cli/commands.h"
#include "io/platform.h"
#include "io/standard_output.h"

int main(int argc, char** argv) {
    using namespace velkano::tool;
    ignoreBrokenPipe();
    installInterruptCleanup();
    CLI::App app{
        "velkano - read and convert Velkano 1.7 flight (.flt) and route (.rtx/.top) files\n"
        "through the Velkano17Flt.drf and Velkano17Rte.drf driver plug-ins."};
    app.require_subcommand(0, 1);
    // Paths such as /data/tasks.rtx are arguments, not Windows-style /options.
    app.allow_windows_style_options(false);
    GlobalOptions global;
    app.add_option("--drivers", global.driverDir,
                   "Directory holding the .drf drivers (default: velkano's own directory, "
                   "then ../lib/velkano beside it, then $VELKANO_DRIVERS)")
        ->check(CLI::ExistingDirectory);
    bool version = false;
    app.add_flag("--version", version, "Print the versions of velkano and both drivers");

    std::map<CLI::App*, CommandRunner> runners;
    auto add = [&](CommandRunner runner) { runners[app.get_subcommands({}).back()] = runner; };
    add(addInfoCommand(app, global));
    add(addDumpCommand(app, global));
    add(addBuildCommand(app, global));
    add(addCupCommand(app, global));
    add(addIgcCommand(app, global));
    add(addListCommand(app, global));
    add(addViewCommand(app, global));

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int status = app.exit(e);
        return status == 0 ? kExitOk : kExitUsage;
    }
    try {
        return runCommand({}, [&] {
            if (version) return printVersions(global);
            for (const auto& [command, runner] : runners) {
                if (command->parsed()) return runner();
            }
            std::fputs("velkano: a command is required\nRun with --help for more information.\n",
                       stderr);
            return static_cast<int>(kExitUsage);
        });
    } catch (const StandardOutputClosed&) {
        return kExitOk;
    } catch (...) {
        // Only reporting a failure failed here (no memory left for the message): the process
        // still ends with a word and the failure status rather than an escaped exception.
        std::fputs("velkano: unknown failure\n", stderr);
        return kExitFailure;
    }
}
