// velkano igc: every flight of every flight file to IGC through the flight driver, one
// file per flight named by the IGC long file-name convention, or all to standard output.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <system_error>

#include "cli/command_support.h"
#include "cli/commands.h"
#include "formats/igc_name.h"
#include "formats/igc_output.h"
#include "formats/output_formats.h"
#include "host/flight_reader.h"
#include "host/output_files.h"
#include "io/paths.h"
#include "io/platform.h"
#include "io/standard_output.h"

namespace velkano::tool {

namespace {

constexpr size_t kProgressFromFiles = 10;

struct IgcOptions {
    std::vector<std::string> inputs;
    std::string output;
    std::string lineEndingName = "crlf";
    std::string charsetName = "utf-8";
    std::vector<int> flights;  // empty: all
    bool quiet = false;
    bool force = false;
};

constexpr CommandHelp kHelp = {
    "igc", "Convert every flight of flight files to IGC",
    "Converts each flight of each flight file (.flt) through Velkano17Flt.drf. By default\n"
    "every flight becomes one file beside its flight file, named "
    "YYYY-MM-DD-MMM-SERIAL-NN.igc\n"
    "(flight date, recorder maker code, recorder serial, NN = 01, 02... the flight's number\n"
    "of that day); an existing file is never replaced: the flight takes the next number\n"
    "(with --force a flight takes its own number and replaces what is there). Each file\n"
    "written is printed on a line of its own. Texts of the A, H and C records are UTF-8 by\n"
    "default. A malformed or cut flight is reported with its number and byte offset; the\n"
    "flights before it are kept and the next file is still converted (exit status 1).\n"
    "A file with no flights is named on standard error and is no failure."};

// "[3/40] path" on one line of a terminal, redrawn per file and cleared before any message.
class Progress {
public:
    explicit Progress(size_t files)
        : files_(files), enabled_(files >= kProgressFromFiles && isTerminal(stderr)) {}
    ~Progress() { clear(); }

    void show(size_t index, const std::string& path) {
        if (!enabled_) return;
        clear();
        const std::string line =
            "[" + std::to_string(index + 1) + "/" + std::to_string(files_) + "] " + path;
        std::fputs(line.c_str(), stderr);
        std::fflush(stderr);
        shown_ = line.size();
    }

    void clear() {
        if (shown_ == 0) return;
        std::fprintf(stderr, "\r%*s\r", static_cast<int>(shown_), "");
        std::fflush(stderr);
        shown_ = 0;
    }

private:
    size_t files_;
    bool enabled_;
    size_t shown_ = 0;
};

bool wanted(const IgcOptions& options, int flight) {
    return options.flights.empty() || std::find(options.flights.begin(), options.flights.end(),
                                                flight) != options.flights.end();
}

void printWritten(const std::string& path) {
    writeStandardOutput(path + "\n");
}

class IgcConverter {
public:
    explicit IgcConverter(const IgcOptions& options)
        : options_(options),
          lineEnding_(lineEndingNamed(options.lineEndingName).value_or(LineEnding::crlf)),
          charset_(igcCharsetNamed(options.charsetName).value_or(IgcCharset::utf8)) {}

    bool toStandardOutput() const { return options_.output == kToStandardOutput; }

    // Converts the chosen flights of path; the flights before a malformed one are kept.
    void convertFile(DriverLibrary& driver, const std::string& path) {
        const std::string directory = options_.output.empty() ? directoryOf(path) : options_.output;
        const int last = options_.flights.empty()
                             ? 0
                             : *std::max_element(options_.flights.begin(), options_.flights.end());
        const int count = readFlights(driver, path, [&](int flight, std::string_view igc) {
            if (wanted(options_, flight)) convertFlight(directory, igc);
            return flight != last;
        });
        if (count == 0) reportError(path, kNoFlights);
        if (count < last) {
            throw ToolError(path, "has no flight " + std::to_string(last) + " (it holds " +
                                      std::to_string(count) + ")");
        }
    }

private:
    void convertFlight(const std::string& directory, std::string_view driverText) {
        const OutputWriter igc = [&](const OutputSink& sink) {
            flightOutputFormat("igc").write(driverText, {charset_, lineEnding_}, sink);
        };
        if (toStandardOutput()) {
            igc([](const std::string& block) { writeStandardOutput(block); });
            return;
        }
        const FlightIdentity flight = identifyFlight(driverText);
        std::string written;
        if (options_.force) {
            const int flightOfDay = flightsOfDay_.next(flight);
            written = replaceFlightFile(directory, flight, flightOfDay, igc);
        } else {
            written = writeNewFlightFile(directory, flight, igc);
        }
        if (!options_.quiet) printWritten(written);
    }

    const IgcOptions& options_;
    LineEnding lineEnding_;
    IgcCharset charset_;
    // --force: how many flights of each day and recorder this run has written.
    FlightsOfDay flightsOfDay_;
};

// -o DIR that does not exist yet is made, as long as its parent is there.
void makeOutputDirectory(const std::string& directory) {
    std::error_code error;
    if (directory.empty() || directory == kToStandardOutput ||
        std::filesystem::is_directory(directory, error))
        return;
    std::filesystem::create_directory(directory, error);
    if (error) throw ToolError(directory, "cannot create the directory: " + error.message());
}

int runIgc(const GlobalOptions& global, const IgcOptions& options) {
    makeOutputDirectory(options.output);
    IgcConverter converter(options);
    Progress progress(options.inputs.size());
    return forEachFlightFile(global.driverDir, options.inputs,
                             [&](DriverLibrary& driver, size_t index, const std::string& path) {
                                 progress.show(index, path);
                                 try {
                                     converter.convertFile(driver, path);
                                 } catch (...) {
                                     progress.clear();
                                     throw;
                                 }
                             });
}

void addOptions(CLI::App& command, IgcOptions& options) {
    command.add_option("flights", options.inputs, "Flight files to convert (.flt)")->required();
    command
        .add_option("-o,--output", options.output,
                    "Directory for the IGC files (default: each flight file's own directory; "
                    "made if only its parent exists), or - for all flights in order on "
                    "standard output")
        ->check(CLI::Validator(
            [](std::string& value) {
                std::error_code ignored;
                const std::filesystem::path path(value);
                const std::filesystem::path parent =
                    path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
                const bool creatable = !std::filesystem::exists(path, ignored) &&
                                       std::filesystem::is_directory(parent, ignored);
                return value == kToStandardOutput || std::filesystem::is_directory(path, ignored) ||
                               creatable
                           ? std::string()
                           : "not a directory: " + value;
            },
            "DIR|-"));
    command
        .add_option("--line-ending", options.lineEndingName,
                    "crlf (default; what IGC files use) or lf (the driver's bytes unchanged)")
        ->check(CLI::IsMember({"crlf", "lf"}));
    command
        .add_option("--text", options.charsetName,
                    "Texts of the A, H and C records: utf-8 (default; what IGC readers show "
                    "right), ascii (only what the IGC standard allows, ä as ae, é as e) or raw "
                    "(the flight file's windows-1252 bytes). Fixes are never changed")
        ->check(CLI::IsMember({"utf-8", "ascii", "raw"}));
    command
        .add_option("--flight", options.flights,
                    "Convert only these flights, by their number in the file (1, 2, ...)")
        ->delimiter(',')
        ->check(CLI::PositiveNumber);
    command.add_flag("-q,--quiet", options.quiet, "Do not print the files written");
    command.add_flag("-f,--force", options.force,
                     "Replace an existing IGC file of the same name instead of numbering on");
}

}  // namespace

CommandRunner addIgcCommand(CLI::App& app, const GlobalOptions& global) {
    return addCommand(app, global, kHelp, addOptions, runIgc);
}

}  // namespace velkano::tool
