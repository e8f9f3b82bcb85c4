// velkano list: what the flights of flight files hold, before converting them. The flights
// are read as IGC text through the flight driver, as velkano igc reads them.
#include "cli/command_support.h"
#include "cli/commands.h"
#include "formats/flight_list.h"
#include "host/flight_reader.h"

namespace velkano::tool {

namespace {

struct ListOptions {
    std::vector<std::string> inputs;
    bool json = false;
};

constexpr CommandHelp kHelp = {
    "list", "List the flights of flight files without converting them",
    "Reads each flight file (.flt) through Velkano17Flt.drf as velkano igc does and prints,\n"
    "per flight: its number in the file, date, recorder (maker and serial), pilot, glider\n"
    "type and id, competition id, first and last fix time (UTC), the time between them,\n"
    "the number of fixes, the highest GNSS altitude, the number of declared task points\n"
    "and the name velkano igc gives its IGC file (when no file of that name is there yet).\n"
    "Texts are decoded from windows-1252. A cut or malformed flight is reported after the\n"
    "flights before it (exit status 1)."};

// The flights of one file, as many as can be read; ToolError after them when one cannot.
void summarise(DriverLibrary& driver, const std::string& path, FlightLister& flights) {
    readFlightsBack(driver, path, [&](int number, std::string_view igc, IgcFlightText flight) {
        flights.add(number, std::move(flight), igc);
        return true;
    });
}

int runList(const GlobalOptions& global, const ListOptions& options) {
    // Per file, the flights read before any failure: they are listed all the same.
    std::vector<FlightLister> flightsOf(options.inputs.size());
    const int status =
        forEachFlightFile(global.driverDir, options.inputs,
                          [&](DriverLibrary& driver, size_t index, const std::string& path) {
                              summarise(driver, path, flightsOf[index]);
                              if (flightsOf[index].flights().empty()) reportError(path, kNoFlights);
                          });
    Json files = Json::array();
    std::string table;
    for (size_t i = 0; i < options.inputs.size(); ++i) {
        const std::string& path = options.inputs[i];
        const std::vector<FlightSummary>& flights = flightsOf[i].flights();
        if (options.json) {
            Json list = Json::array();
            for (const FlightSummary& flight : flights) list.push_back(flightSummaryJson(flight));
            files.push_back({{"file", path}, {"flights", std::move(list)}});
        } else if (!flights.empty()) {
            table += (table.empty() ? "" : "\n") + flightTableOf(path, flights);
        }
    }
    writeStandardOutput(options.json ? formatJson(files) : table);
    return status;
}

void addOptions(CLI::App& command, ListOptions& options) {
    command.add_option("flights", options.inputs, "Flight files to list (.flt)")->required();
    command.add_flag("--json", options.json,
                     "Print JSON: [{\"file\": ..., \"flights\": [{\"number\": 1, ...}]}]");
}

}  // namespace

CommandRunner addListCommand(CLI::App& app, const GlobalOptions& global) {
    return addCommand(app, global, kHelp, addOptions, runList);
}

}  // namespace velkano::tool
