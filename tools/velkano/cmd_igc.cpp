// velkano igc: every flight of every flight file to IGC through the flight driver, one
// file per flight named by the IGC long file-name convention, or all to standard output.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "atomic_output.h"
#include "command_support.h"
#include "commands.h"
#include "driver_session.h"
#include "igc_name.h"
#include "igc_output.h"
#include "platform.h"
#include "tracked_file.h"

namespace velkano::tool {

namespace {

constexpr const char* kToStandardOutput = "-";
constexpr const char* kBadFile = "bad file";
// A flight file's header announces at most this many flights.
constexpr int kMaxFlights = 16384;
constexpr int kMaxFlightsPerName = 9999;
constexpr size_t kProgressFromFiles = 10;

struct IgcOptions {
    std::vector<std::string> inputs;
    std::string output;
    std::string lineEndingName = "crlf";
    LineEnding lineEnding = LineEnding::crlf;
};

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

std::string directoryOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

std::string inDirectory(const std::string& directory, const std::string& name) {
    const char last = directory.empty() ? '/' : directory.back();
    return last == '/' || last == '\\' ? directory + name : directory + "/" + name;
}

// Never over an existing file: the flight takes the next free number of its day.
void writeFlightFile(const std::string& directory, const std::string& igc) {
    const FlightIdentity flight = identifyFlight(igc);
    AtomicOutput output(inDirectory(directory, igcFileName(flight, 1)));
    output.write(igc);
    for (int number = 1; number <= kMaxFlightsPerName; ++number) {
        if (output.commitIfAbsent(inDirectory(directory, igcFileName(flight, number)))) return;
    }
    throw ToolError(output.finalPath(), "no free file name for this flight");
}

class IgcConverter {
public:
    IgcConverter(DriverLibrary& driver, const IgcOptions& options)
        : driver_(driver), options_(options) {}

    bool toStandardOutput() const { return options_.output == kToStandardOutput; }

    // Converts every flight of path; the flights before a malformed one are kept.
    void convertFile(const std::string& path) {
        std::unique_ptr<CStdioFile> file = openInput(path);
        TrackedFile flights(*file);
        const std::string directory = options_.output.empty() ? directoryOf(path) : options_.output;
        DriverSession session(driver_);
        for (int flight = 1; flight <= kMaxFlights + 1; ++flight) {
            IgcCapture capture(toStandardOutput() ? kStandardOutput : directory);
            int32_t result = 0;
            try {
                result = driver_.Flight2IGC(&flights, &capture.file());
            } catch (const FIO_Error& e) {
                const std::string record =
                    e.message == kBadFile ? "header" : "flight " + std::to_string(flight);
                throw ToolError(path, e.message + " (" + record + ", byte " +
                                          std::to_string(flights.lastReadStart()) + ")");
            } catch (const CFileException& e) {
                throw ToolError(e.m_strFileName,
                                fileErrorReason(e) + " (flight " + std::to_string(flight) + ")");
            } catch (const std::exception& e) {
                throw ToolError(path,
                                std::string(e.what()) + " (flight " + std::to_string(flight) + ")");
            }
            if (result == 0) return;
            if (result != 1)
                throw ToolError(path, "the driver cannot convert flights (it answered " +
                                          std::to_string(result) + ")");
            std::string igc;
            try {
                igc = withLineEnding(capture.contents(), options_.lineEnding);
            } catch (const std::system_error& e) {
                throw ToolError(path, e.what());
            }
            if (toStandardOutput()) {
                writeStandardOutput(igc);
            } else {
                writeFlightFile(directory, igc);
            }
        }
        throw ToolError(path, "the driver converted more flights than a flight file holds");
    }

private:
    DriverLibrary& driver_;
    const IgcOptions& options_;
};

int runIgc(const GlobalOptions& global, const IgcOptions& options) {
    std::unique_ptr<DriverLibrary> driver;
    try {
        driver = loadDriver(driverPath(global, kFlightDriver));
    } catch (const ToolError& e) {
        reportError(e);
        return kExitFailure;
    }
    IgcConverter converter(*driver, options);
    Progress progress(options.inputs.size());
    int status = kExitOk;
    for (size_t i = 0; i < options.inputs.size(); ++i) {
        progress.show(i, options.inputs[i]);
        try {
            converter.convertFile(options.inputs[i]);
        } catch (const ToolError& e) {
            progress.clear();
            reportError(e);
            status = kExitFailure;
            // Nothing more can reach a standard output that failed.
            if (e.path() == kStandardOutput) break;
        }
    }
    return status;
}

}  // namespace

CommandRunner addIgcCommand(CLI::App& app, const GlobalOptions& global) {
    CLI::App* command = app.add_subcommand("igc", "Convert every flight of flight files to IGC");
    command->footer(
        "Converts each flight of each flight file (.flt) through Velkano17Flt.drf. By default\n"
        "every flight becomes one file beside its flight file, named YYYY-MM-DD-MMM-SERIAL-NN.igc\n"
        "(flight date, recorder maker code, recorder serial, NN = 01, 02... the flight's number\n"
        "of that day); an existing file is never replaced: the flight takes the next number.\n"
        "A malformed flight is reported with its number and byte offset; the flights before it\n"
        "are kept and the next file is still converted (exit status 1).");
    auto options = std::make_shared<IgcOptions>();
    command->add_option("flights", options->inputs, "Flight files to convert (.flt)")->required();
    command
        ->add_option("-o,--output", options->output,
                     "Directory for the IGC files (default: each flight file's own directory), "
                     "or - for all flights in order on standard output")
        ->check(CLI::Validator(
            [](std::string& value) {
                std::error_code ignored;
                return value == kToStandardOutput || std::filesystem::is_directory(value, ignored)
                           ? std::string()
                           : "not a directory: " + value;
            },
            "DIR|-"));
    command
        ->add_option("--line-ending", options->lineEndingName,
                     "crlf (default; what IGC files use) or lf (the driver's bytes unchanged)")
        ->check(CLI::IsMember({"crlf", "lf"}));
    return [&global, options] {
        options->lineEnding = options->lineEndingName == "lf" ? LineEnding::lf : LineEnding::crlf;
        return runIgc(global, *options);
    };
}

}  // namespace velkano::tool
