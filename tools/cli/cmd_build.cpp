// velkano build: JSON in the form `velkano dump` prints, or CUP files, to a task file and its
// turnpoint file, written through the route driver as the host program writes them.
#include "cli/change_notes.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "host/task_build.h"
#include "io/paths.h"

namespace velkano::tool {

namespace {

struct BuildOptions {
    std::vector<std::string> inputs;
    std::string output;
    bool strict = false;
    bool skipBadRows = false;
    NotesOptions notes;
};

constexpr CommandHelp kHelp = {
    "build", "Write a task file and its turnpoint file from JSON or CUP",
    "Reads JSON in the form `velkano dump` prints and writes TASK (-o) and the turnpoint "
    "file\n"
    "beside it (same name, extension .top) through Velkano17Rte.drf. Turnpoints are written\n"
    "in array order and numbered 1, 2, 3...; route points name turnpoints by their "
    "\"number\"\n"
    "member and are renumbered to match (a negative number stays: no point). In each route\n"
    "the role-6 point goes first, the role-5 point last, the others in order between.\n"
    "Left-out members take the defaults of a fresh entry. Refused, with the item's JSON path\n"
    "and no file written: invalid JSON, unknown or repeated members, wrong types, values\n"
    "out of range (latitude -90..90, longitude -180..180), unknown or repeated turnpoint\n"
    "numbers, characters with no windows-1252 "
    "byte, more than 16384 turnpoints or routes. Texts longer than their field (name 29,\n"
    "short name 19, comment 99, ICAO code 30, route name 200 characters) are cut, and each\n"
    "one is named on standard error. Both files are replaced only once complete.\n"
    "\n"
    "FILE.cup... (extension .cup, any case): CUP waypoint and task files, as gliding\n"
    "software writes them (UTF-8, windows-1252 or UTF-16; lines ending in CR LF, LF or CR).\n"
    "The rows of all files become the turnpoints, in order; then the tasks of all files\n"
    "become routes 1, 2, 3..., their points naming rows of any file (exactly, else ignoring\n"
    "case; of rows sharing a name the first). Columns are found by the header's names in\n"
    "their usual spellings (\"Elevation [ft]\": bare numbers in feet); elevations in m or\n"
    "ft, runway lengths in m, nm or ml. Whatever the task file does not keep as the input\n"
    "has it is noted: a value that cannot be read (left at its default), a column not read\n"
    "or not kept, a style stored as another, a code longer than the name (reading the task\n"
    "file gives it as the name), characters windows-1252 lacks (their base letter or '?';\n"
    "refused with --strict), Options, ObsZone, STARTS= and Point= lines (skipped). The\n"
    "notes end the run as a report, per file and kind, with counts and the first places.\n"
    "Refused (exit 1, nothing written): a file of no rows and no tasks, fields separated by\n"
    "';' or tabs, a row without a usable name or coordinate and a task point naming no row\n"
    "(unless --skip-bad-rows), more than 16384 rows or tasks."};

// One JSON file, or CUP files only; the CUP options only with CUP files.
std::string usageProblem(const BuildOptions& options) {
    size_t cup = 0;
    for (const std::string& input : options.inputs) cup += hasExtension(input, kCupExtension);
    if (cup == options.inputs.size()) return "";
    if (cup > 0) return "build takes CUP files or one JSON file, not both";
    if (options.inputs.size() > 1) return "build takes one JSON file (or several .cup files)";
    if (options.strict || options.skipBadRows)
        return "--strict and --skip-bad-rows are for .cup inputs; JSON is always read strictly";
    if (options.notes.quiet || options.notes.notes != NotesOptions().notes)
        return "--notes and -q are for .cup inputs; each note of JSON is named on its own";
    return "";
}

int runBuild(const GlobalOptions& global, const BuildOptions& options) {
    if (const std::string problem = usageProblem(options); !problem.empty()) {
        reportError("", problem);
        return kExitUsage;
    }
    const Notes notes = buildTaskFile(
        global.driverDir, {options.inputs, options.output, {options.strict, options.skipBadRows}},
        [](const std::string& path, const std::string& message) { reportError(path, message); });
    printChangeReport(notes, options.notes);
    return kExitOk;
}

void addOptions(CLI::App& command, BuildOptions& options) {
    command.add_option("input", options.inputs, "JSON file, or CUP files, to read")->required();
    command.add_option("-o,--output", options.output, "Task file to write (.rtx)")
        ->required()
        ->check(CLI::Validator(
            [](std::string& value) {
                return value == "-" ? std::string(
                                          "two files cannot go to standard output; "
                                          "name the task file to write")
                                    : std::string();
            },
            "FILE"));
    command.add_flag("--strict", options.strict,
                     "CUP: refuse texts with characters windows-1252 lacks");
    command.add_flag("--skip-bad-rows", options.skipBadRows,
                     "CUP: leave out rows without a usable name or coordinate, and tasks naming "
                     "them or naming no row, each with a note, instead of refusing");
    addNotesOptions(command, options.notes);
}

}  // namespace

CommandRunner addBuildCommand(CLI::App& app, const GlobalOptions& global) {
    return addCommand(app, global, kHelp, addOptions, runBuild);
}

}  // namespace velkano::tool
