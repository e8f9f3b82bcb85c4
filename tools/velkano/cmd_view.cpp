// velkano view: task files and flight files as one self-contained web page. Everything is
// read through the drivers as the other commands read it: task files as `dump` reads them,
// flights as the IGC text the flight driver prints.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <system_error>

#include "command_support.h"
#include "commands.h"
#include "cp1252.h"
#include "file_kind.h"
#include "flight_source.h"
#include "igc_text.h"
#include "route_json.h"
#include "task_reader.h"
#include "view_page.h"

namespace velkano::tool {

namespace {

// Five decimals of a degree are about a metre, finer than a fix's thousandth of a minute.
constexpr double kCoordinateScale = 1e5;

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
    return kind == FileKind::other ? hasExtension(path, ".flt") : kind == FileKind::flight;
}

std::string fileName(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

float coordinate(double degrees) {
    return static_cast<float>(std::round(degrees * kCoordinateScale) / kCoordinateScale);
}

Json flightToJson(const IgcFlightText& flight, const std::string& path, int number) {
    Json task = Json::array();
    for (const IgcTaskPoint& point : flight.task) {
        task.push_back({{"latitude", coordinate(point.latitude)},
                        {"longitude", coordinate(point.longitude)},
                        {"name", decodeCp1252(point.name)}});
    }
    Json time = Json::array(), latitude = Json::array(), longitude = Json::array();
    Json gnss = Json::array(), pressure = Json::array();
    for (const IgcFix& fix : flight.fixes) {
        time.push_back(fix.seconds);
        latitude.push_back(coordinate(fix.latitude));
        longitude.push_back(coordinate(fix.longitude));
        gnss.push_back(fix.gnssAltitude);
        pressure.push_back(fix.pressureAltitude);
    }
    Json fixes = Json::object();
    fixes["time"] = std::move(time);
    fixes["latitude"] = std::move(latitude);
    fixes["longitude"] = std::move(longitude);
    fixes["gnssAltitude"] = std::move(gnss);
    fixes["pressureAltitude"] = std::move(pressure);
    Json json = Json::object();
    json["file"] = fileName(path);
    json["number"] = number;
    json["date"] = isoDate(flight.date);
    json["pilot"] = decodeCp1252(flight.header("PLT"));
    json["gliderType"] = decodeCp1252(flight.header("GTY"));
    json["gliderId"] = decodeCp1252(flight.header("GID"));
    json["competitionId"] = decodeCp1252(flight.header("CID"));
    json["task"] = std::move(task);
    json["fixes"] = std::move(fixes);
    return json;
}

// Every flight of a flight file, as the driver prints it; read as velkano igc and list read
// them, so a cut or mixed-up file is named the same way.
void addFlights(DriverLibrary& driver, const std::string& path, Json& flights) {
    readFlights(driver, path, [&](int number, std::string_view igc) {
        flights.push_back(flightToJson(parseFlightText(path, number, igc), path, number));
        return true;
    });
}

Json readInputs(const GlobalOptions& global, const ViewOptions& options) {
    std::unique_ptr<DriverLibrary> routeDriver, flightDriver;
    Json tasks = Json::array();
    Json flights = Json::array();
    for (const std::string& path : options.inputs) {
        if (isFlightFile(path)) {
            if (!flightDriver) flightDriver = loadDriver(global.driverDir, kFlightDriver);
            addFlights(*flightDriver, path, flights);
        } else {
            if (!routeDriver) routeDriver = loadDriver(global.driverDir, kRouteDriver);
            Json task = taskToJson(readTaskFile(*routeDriver, path));
            Json entry = Json::object();
            entry["file"] = fileName(path);
            entry["turnpoints"] = std::move(task["turnpoints"]);
            entry["routes"] = std::move(task["routes"]);
            tasks.push_back(std::move(entry));
        }
    }
    Json data = Json::object();
    data["tasks"] = std::move(tasks);
    data["flights"] = std::move(flights);
    return data;
}

int runView(const GlobalOptions& global, const ViewOptions& options) {
    const std::optional<ViewPageTemplate> page = viewPageTemplate();
    if (!page) {
        throw ToolError("",
                        "this build of velkano has no view page: it was built without the web "
                        "libraries (run npm ci in tools/velkano/view, then build again)");
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
