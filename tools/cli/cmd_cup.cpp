// velkano cup: a task file and its turnpoint file as a CUP file, the waypoint and task format
// most gliding software reads, read through the route driver as dump reads them.
#include <memory>

#include "cli/change_notes.h"
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
    NotesOptions notes;
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
    "for (kind, surface, mark, ICAO code), so `velkano build FILE.cup` restores it.\n"
    "Not kept: route ids, the turnpoint flag of route points and roles other than by place,\n"
    "frequencies outside 118-137 MHz (written into desc), control characters (written as\n"
    "spaces), with 11 columns what userdata holds. Whatever the file does not carry as the\n"
    "task file has it ends the run as a report on standard error: per kind, the count and\n"
    "the first turnpoints or routes."};

int runCup(const GlobalOptions& global, const CupOptions& options) {
    const TaskDocument task = readTaskToConvert(global.driverDir, options.conversion);
    const TaskOutputFormat& cup = taskOutputFormat(
        options.columns == static_cast<int>(CupColumns::classic) ? "cup11" : "cup");
    std::string text;
    Notes notes;
    cup.write(
        task, [&text](const std::string& block) { text += block; }, notes);
    writeOutput(options.conversion.output, text);
    for (Note& note : notes) note.input = options.conversion.input;
    printChangeReport(notes, options.notes);
    return kExitOk;
}

void addOptions(CLI::App& command, CupOptions& options) {
    addTaskConversionOptions(command, options.conversion, "Write the CUP file here");
    command
        .add_option("--columns", options.columns,
                    "14 (default): the current layout with userdata; 11: the classic layout "
                    "for older readers")
        ->check(CLI::IsMember({11, 14}));
    addNotesOptions(command, options.notes);
}

}  // namespace

CommandRunner addCupCommand(CLI::App& app, const GlobalOptions& global) {
    return addCommand(app, global, kHelp, addOptions, runCup);
}

}  // namespace velkano::tool
