// velkano list: what the flights of flight files hold, before converting them. The flights
// are read as IGC text through the flight driver, as velkano igc reads them.
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

#include "command_support.h"
#include "commands.h"
#include "cp1252.h"
#include "flight_source.h"
#include "igc_name.h"
#include "igc_text.h"
#include "json_text.h"

namespace velkano::tool {

namespace {

// Takeoff and landing open and close a C record's point list; the task is what lies between.
constexpr size_t kTaskFrame = 2;

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

struct FlightSummary {
    int number = 0;
    IgcFlightText text;
    std::string igcName;
};

std::string clock(int32_t seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return text;
}

size_t taskPoints(const IgcFlightText& flight) {
    return flight.task.size() > kTaskFrame ? flight.task.size() - kTaskFrame : 0;
}

int32_t highestGnssAltitude(const IgcFlightText& flight) {
    int32_t highest = flight.fixes.front().gnssAltitude;
    for (const IgcFix& fix : flight.fixes) highest = std::max(highest, fix.gnssAltitude);
    return highest;
}

std::string text(const std::string& windows1252) {
    std::string trimmed = windows1252;
    while (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
    return decodeCp1252(trimmed);
}

Json toJson(const FlightSummary& summary) {
    const IgcFlightText& f = summary.text;
    Json json = Json::object();
    json["number"] = summary.number;
    json["date"] = f.date.year == 0 ? Json() : Json(isoDate(f.date));
    json["recorder"] = {{"maker", text(f.recorderMaker)}, {"serial", text(f.recorderSerial)}};
    json["pilot"] = text(f.header("PLT"));
    json["gliderType"] = text(f.header("GTY"));
    json["gliderId"] = text(f.header("GID"));
    json["competitionId"] = text(f.header("CID"));
    json["fixes"] = f.fixes.size();
    if (f.fixes.empty()) {
        json["firstFix"] = json["lastFix"] = json["durationSeconds"] = json["maxGnssAltitude"] =
            Json();
    } else {
        json["firstFix"] = clock(f.fixes.front().seconds % kSecondsPerDay);
        json["lastFix"] = clock(f.fixes.back().seconds % kSecondsPerDay);
        json["durationSeconds"] = f.fixes.back().seconds - f.fixes.front().seconds;
        json["maxGnssAltitude"] = highestGnssAltitude(f);
    }
    json["taskPoints"] = taskPoints(f);
    json["igcName"] = summary.igcName;
    return json;
}

std::vector<std::string> tableRow(const FlightSummary& summary) {
    const IgcFlightText& f = summary.text;
    const bool fixes = !f.fixes.empty();
    std::string glider = text(f.header("GTY"));
    const std::string id = text(f.header("GID"));
    if (!id.empty()) glider += (glider.empty() ? "" : " ") + id;
    return {std::to_string(summary.number),
            isoDate(f.date),
            text(f.recorderMaker) + " " + text(f.recorderSerial),
            text(f.header("PLT")),
            glider,
            text(f.header("CID")),
            fixes ? clock(f.fixes.front().seconds % kSecondsPerDay) : "-",
            fixes ? clock(f.fixes.back().seconds % kSecondsPerDay) : "-",
            fixes ? clock(f.fixes.back().seconds - f.fixes.front().seconds) : "-",
            std::to_string(f.fixes.size()),
            fixes ? std::to_string(highestGnssAltitude(f)) + " m" : "-",
            std::to_string(taskPoints(f)),
            summary.igcName};
}

// Characters, not bytes: the texts are UTF-8.
size_t displayWidth(const std::string& utf8) {
    return static_cast<size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::string formatTable(const std::vector<std::vector<std::string>>& rows) {
    std::vector<size_t> widths(rows.front().size(), 0);
    for (const auto& row : rows) {
        for (size_t i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], displayWidth(row[i]));
    }
    std::string out;
    for (const auto& row : rows) {
        std::string line;
        for (size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size()) line += std::string(widths[i] - displayWidth(row[i]) + 2, ' ');
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out += line + "\n";
    }
    return out;
}

const std::vector<std::string> kHeadings = {"#",       "DATE",  "RECORDER", "PILOT", "GLIDER",
                                            "CID",     "FIRST", "LAST",     "TIME",  "FIXES",
                                            "MAX ALT", "TASK",  "IGC FILE"};

// The flights of one file, as many as can be read; ToolError after them when one cannot.
void summarise(DriverLibrary& driver, const std::string& path,
               std::vector<FlightSummary>& flights) {
    std::map<std::string, int> flightsOfDay;
    readFlights(driver, path, [&](int number, std::string_view igc) {
        FlightSummary summary;
        summary.number = number;
        summary.text = parseFlightText(path, number, igc);
        const FlightIdentity identity = identifyFlight(igc);
        summary.igcName = igcFileName(identity, ++flightsOfDay[igcFileName(identity, 0)]);
        flights.push_back(std::move(summary));
        return true;
    });
}

int runList(const GlobalOptions& global, const ListOptions& options) {
    // Per file, the flights read before any failure: they are listed all the same.
    std::vector<std::vector<FlightSummary>> flightsOf(options.inputs.size());
    const int status =
        forEachFlightFile(global.driverDir, options.inputs,
                          [&](DriverLibrary& driver, size_t index, const std::string& path) {
                              summarise(driver, path, flightsOf[index]);
                              if (flightsOf[index].empty()) reportError(path, "no flights");
                          });
    Json files = Json::array();
    std::string table;
    for (size_t i = 0; i < options.inputs.size(); ++i) {
        const std::string& path = options.inputs[i];
        const std::vector<FlightSummary>& flights = flightsOf[i];
        if (options.json) {
            Json list = Json::array();
            for (const FlightSummary& flight : flights) list.push_back(toJson(flight));
            files.push_back({{"file", path}, {"flights", std::move(list)}});
        } else if (!flights.empty()) {
            std::vector<std::vector<std::string>> rows = {kHeadings};
            for (const FlightSummary& flight : flights) rows.push_back(tableRow(flight));
            table += (table.empty() ? "" : "\n") + path + "\n" + formatTable(rows);
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
