// velkano view: task files and flight files as one self-contained web page. Everything is
// read through the drivers as the other commands read it: task files as `dump` reads them,
// flights as the IGC text the flight driver prints.
#include <memory>

#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/view_template.h"
#include "formats/view_page.h"
#include "host/driver_search.h"
#include "host/flight_reader.h"
#include "host/task_reader.h"
#include "io/file_kind.h"
#include "io/paths.h"

namespace velkano::tool {

namespace {

struct ViewOptions {
    std::vector<std::string> inputs;
    std::string output;
};

constexpr CommandHelp kHelp = {
    "view", "Show task files and flight files on one web page",
    "Writes one HTML file that any current browser opens from disk, offline included: the\n"
    "map, chart and geodesy libraries and the data are inside it; only map tiles come\n"
    "from the network (OpenStreetMap), and without one the map has a plain background.\n"
    "Task files (.rtx, with the .top beside them) show every turnpoint and route, with the\n"
    "routes' distances on the WGS84 ellipsoid; flight files (.flt) show each flight's track\n"
    "coloured by altitude, its declared task and its barogram, one flight at a time.\n"
    "Each file is taken for what its first bytes say it is; where they say nothing, a .flt\n"
    "file is read as a flight file and any other as a task file. Nothing is written when a\n"
    "file cannot be read (exit status 1). A build made without the web libraries has no\n"
    "page: view then says so and exits with status 1."};

// What the first bytes say; the extension where they say nothing (a cut or foreign file, which
// the reader of that kind then names).
bool isFlightFile(const std::string& path) {
    const FileKind kind = fileKindOf(path);
    return kind == FileKind::other ? hasExtension(path, kFlightExtension)
                                   : kind == FileKind::flight;
}

// Every flight of a flight file, as the driver prints it; read as velkano igc and list read
// them, so a cut or mixed-up file is named the same way.
void addFlights(DriverLibrary& driver, const std::string& path, ViewData& data) {
    readFlightsBack(driver, path, [&](int number, std::string_view, IgcFlightText flight) {
        data.addFlight(flight, fileName(path), number);
        return true;
    });
}

ViewData readInputs(const GlobalOptions& global, const ViewOptions& options) {
    std::unique_ptr<DriverLibrary> routeDriver, flightDriver;
    ViewData data;
    for (const std::string& path : options.inputs) {
        if (isFlightFile(path)) {
            if (!flightDriver) flightDriver = loadDriver(global.driverDir, kFlightDriver);
            addFlights(*flightDriver, path, data);
        } else {
            if (!routeDriver) routeDriver = loadDriver(global.driverDir, kRouteDriver);
            data.addTask(readTaskFile(*routeDriver, path), fileName(path));
        }
    }
    return data;
}

int runView(const GlobalOptions& global, const ViewOptions& options) {
    const std::optional<ViewPageTemplate> page = viewPageTemplate();
    if (!page) {
        throw ToolError("",
                        "this build of velkano has no view page: it was built without the web "
                        "libraries (run npm ci in tools/web, then build again)");
    }
    for (const std::string& input : options.inputs) refuseToWriteOverTask(options.output, input);
    writeOutput(options.output, viewPage(*page, readInputs(global, options)));
    return kExitOk;
}

void addOptions(CLI::App& command, ViewOptions& options) {
    command.add_option("files", options.inputs, "Task files (.rtx) and flight files (.flt)")
        ->required();
    command
        .add_option("-o,--output", options.output,
                    "The page to write (replaced only once complete); - is standard output")
        ->required();
}

}  // namespace

CommandRunner addViewCommand(CLI::App& app, const GlobalOptions& global) {
    return addCommand(app, global, kHelp, addOptions, runView);
}

}  // namespace velkano::tool
