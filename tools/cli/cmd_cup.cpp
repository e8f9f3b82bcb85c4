// velkano cup: a task file and its turnpoint file as a CUP file, the waypoint and task format
// most gliding software reads, read through the route driver as dump reads them.
#include <memory>

#include "cli/command_support.h"
#include "cli/commands.h"
#include "formats/cup_writer.h"
#include "formats/output_formats.h"
#include "host/task_reader.h"

namespace velkano::tool {

namespace {

struct CupOptions {
    TaskConversion conversion;
    int columns = static_cast<int>(CupColumns::current);
};

constexpr CommandHelp kHelp = {
    "cup", "Write a task file and its turnpoint file as a CUP waypoint and task file",
    "Reads TASK (.rtx) and the turnpoint file beside it through Velkano17Rte.drf, as dump\n"
    "does, and writes CUP (UTF-8, CRLF): one row per turnpoint, then after\n"
    "-----Related Tasks----- one line per route naming its takeoff, start, turnpoints,\n"
    "finish and landing (a missing takeoff or landing repeats the start or finish).\n"
    "Row names are made unique as readers compare them (case and punctuation ignored): a\n"
    "later clash is written as \"NAME (2)\". The userdata column keeps what CUP has no "
    "column\n"
    "for (kind, surface, mark, ICAO code), so `velkano build FILE.cup` restores it. Each\n"
    "turnpoint or route point that cannot be written as it is is named on standard error.\n"
    "Not kept: route ids, the turnpoint flag of route points, frequencies outside\n"
    "118-137 MHz (written into desc), control characters (written as spaces)."};

int runCup(const GlobalOptions& global, const CupOptions& options) {
    const TaskDocument task = readTaskToConvert(global.driverDir, options.conversion);
    const TaskOutputFormat& cup = taskOutputFormat(
        options.columns == static_cast<int>(CupColumns::classic) ? "cup11" : "cup");
    std::string text;
    Notes notes;
    cup.write(
        task, [&text](const std::string& block) { text += block; }, notes);
    for (const Note& note : notes) reportError(options.conversion.input, note.message);
    writeOutput(options.conversion.output, text);
    return kExitOk;
}

void addOptions(CLI::App& command, CupOptions& options) {
    addTaskConversionOptions(command, options.conversion, "Write the CUP file here");
    command
        .add_option("--columns", options.columns,
                    "14 (default): the current layout with userdata; 11: the classic layout "
                    "for older readers")
        ->check(CLI::IsMember({11, 14}));
}

}  // namespace

CommandRunner addCupCommand(CLI::App& app, const GlobalOptions& global) {
    return addCommand(app, global, kHelp, addOptions, runCup);
}

}  // namespace velkano::tool
