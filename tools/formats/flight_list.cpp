#include "formats/flight_list.h"

#include <algorithm>
#include <cstdio>

#include "formats/cp1252.h"
#include "formats/igc_name.h"

namespace velkano::tool {

namespace {

// Takeoff and landing open and close a C record's point list; the task is what lies between.
constexpr size_t kTaskFrame = 2;

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

}  // namespace

void FlightLister::add(int number, IgcFlightText text, std::string_view igc) {
    const FlightIdentity identity = identifyFlight(igc);
    const int flightOfDay = flightsOfDay_.next(identity);
    flights_.push_back({number, std::move(text), igcFileName(identity, flightOfDay)});
}

Json flightSummaryJson(const FlightSummary& summary) {
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

std::string flightTable(const std::vector<FlightSummary>& flights) {
    std::vector<std::vector<std::string>> rows = {kHeadings};
    for (const FlightSummary& flight : flights) rows.push_back(tableRow(flight));
    return formatTable(rows);
}

std::string flightTableOf(const std::string& file, const std::vector<FlightSummary>& flights) {
    return flights.empty() ? std::string() : file + "\n" + flightTable(flights);
}

}  // namespace velkano::tool
