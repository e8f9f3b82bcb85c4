// velkano build: JSON in the form `velkano dump` prints back to a task file and its
// turnpoint file, written through the route driver as the host program writes them.
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "atomic_output.h"
#include "command_support.h"
#include "commands.h"
#include "driver_session.h"
#include "file_kind.h"
#include "json_text.h"
#include "route_json.h"
#include "route_layout.h"
#include "velkano/companion_path.h"

namespace velkano::tool {

namespace {

// The extension of the companion the driver writes beside path, in the case it gives it.
std::string companionExtension(const std::string& path) {
    return companionPathForWriting(path).substr(withExtension(path, "").size());
}

struct BuildOptions {
    std::string input;
    std::string output;
};

std::string readWholeFile(const std::string& path) {
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) throw ToolError(path, "is a directory");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ToolError(path, std::strerror(errno != 0 ? errno : ENOENT));
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) throw ToolError(path, "cannot read");
    return text;
}

bool hasCompanionExtension(const std::string& path) {
    const std::string extension = path.substr(withExtension(path, "").size());
    if (extension.size() != std::strlen(kCompanionExtension)) return false;
    for (size_t i = 0; i < extension.size(); ++i) {
        // Windows file names ignore case.
        if (std::tolower(static_cast<unsigned char>(extension[i])) != kCompanionExtension[i])
            return false;
    }
    return true;
}

void checkOutputPath(const BuildOptions& options) {
    if (hasCompanionExtension(options.output)) {
        throw ToolError(
            options.output,
            "a task file cannot end in .top: its turnpoint file would be written over it");
    }
    if (sameFile(options.output, options.input) ||
        sameFile(companionPathForWriting(options.output), options.input)) {
        throw ToolError(options.output, "would write over the input file " + options.input);
    }
}

void expectWritten(int32_t result) {
    if (result != 1) throw std::runtime_error("the driver refused the record");
}

void writeTask(DriverLibrary& driver, TaskDocument& task,
               std::vector<std::unique_ptr<FIO_Route>>& routes, AtomicOutput& output) {
    const std::string companion = companionPathForWriting(output.finalPath());
    CStdioFile taskFile(output.stream(), output.temporaryPath(), false);
    DriverSession session(driver);
    std::string record = "header";
    try {
        FIO_Header header;
        header.kind = FIO_Header::kBegin;
        header.turnpointCount = static_cast<int32_t>(task.turnpoints.size());
        header.routeCount = static_cast<int32_t>(routes.size());
        expectWritten(driver.WriteHeader(&taskFile, &header));
        for (size_t i = 0; i < task.turnpoints.size(); ++i) {
            record = "turnpoint " + std::to_string(i + 1);
            expectWritten(driver.WriteTP(nullptr, &task.turnpoints[i]));
        }
        for (size_t i = 0; i < routes.size(); ++i) {
            record = "route " + std::to_string(i + 1);
            expectWritten(driver.WriteRoute(&taskFile, routes[i].get()));
        }
        record = "trailer";
        header.kind = FIO_Header::kEnd;
        expectWritten(driver.WriteHeader(&taskFile, &header));
    } catch (const CFileException& e) {
        const bool inCompanion = e.m_strFileName != output.temporaryPath();
        throw ToolError(inCompanion ? companion : output.finalPath(),
                        fileErrorReason(e) + " (writing " + record + ")");
    } catch (const std::exception& e) {
        throw ToolError(output.finalPath(), std::string(e.what()) + " (writing " + record + ")");
    }
}

int runBuild(const GlobalOptions& global, const BuildOptions& options) {
    try {
        expectFileKind(options.input, FileKind::other);
        TaskDocument task;
        std::vector<std::unique_ptr<FIO_Route>> routes;
        try {
            task = taskFromJson(parseJson(readWholeFile(options.input)));
            routes = routesForWriting(task);
        } catch (const JsonError& e) {
            throw ToolError(options.input,
                            e.pointer().empty() ? e.what() : e.pointer() + ": " + e.what());
        }
        checkOutputPath(options);
        for (const StorageNote& note : storageNotes(task)) {
            reportError(options.input, note.pointer + ": " + note.message);
        }
        auto driver = loadDriver(driverPath(global, kRouteDriver));
        AtomicOutput output(options.output, {companionExtension(options.output)});
        writeTask(*driver, task, routes, output);
        output.commit();
        return kExitOk;
    } catch (const ToolError& e) {
        reportError(e);
        return kExitFailure;
    }
}

}  // namespace

CommandRunner addBuildCommand(CLI::App& app, const GlobalOptions& global) {
    CLI::App* command =
        app.add_subcommand("build", "Write a task file and its turnpoint file from JSON");
    command->footer(
        "Reads JSON in the form `velkano dump` prints and writes TASK (-o) and the turnpoint file\n"
        "beside it (same name, extension .top) through Velkano17Rte.drf. Turnpoints are written\n"
        "in array order and numbered 1, 2, 3...; route points name turnpoints by their \"number\"\n"
        "member and are renumbered to match (a negative number stays: no point). In each route\n"
        "the role-6 point goes first, the role-5 point last, the others in order between.\n"
        "Left-out members take the defaults of a fresh entry. Refused, with the item's JSON path\n"
        "and no file written: invalid JSON, unknown or repeated members, wrong types, values\n"
        "out of range (latitude -90..90, longitude -180..180), unknown or repeated turnpoint\n"
        "numbers, characters with no windows-1252 "
        "byte, more than 16384 turnpoints or routes. Texts longer than their field (name 29,\n"
        "short name 19, comment 99, ICAO code 30, route name 200 characters) are cut, and each\n"
        "one is named on standard error. Both files are replaced only once complete.");
    auto options = std::make_shared<BuildOptions>();
    command->add_option("json", options->input, "JSON file to read")->required();
    command->add_option("-o,--output", options->output, "Task file to write (.rtx)")
        ->required()
        ->check(CLI::Validator(
            [](std::string& value) {
                return value == "-" ? std::string(
                                          "two files cannot go to standard output; "
                                          "name the task file to write")
                                    : std::string();
            },
            "FILE"));
    return [&global, options] { return runBuild(global, *options); };
}

}  // namespace velkano::tool
