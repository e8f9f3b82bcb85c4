// What `velkano list` prints of the flights of a flight file: a table for people, JSON for
// programs, from each flight's IGC text as the flight driver prints it.
#pragma once

#include <string>
#include <vector>

#include "formats/igc_name.h"
#include "formats/igc_text.h"
#include "formats/json_text.h"

namespace velkano::tool {

struct FlightSummary {
    int number = 0;  // its place in the flight file, from 1
    IgcFlightText text;
    std::string igcName;  // the name `velkano igc` gives its file
};

// The summaries of one file's flights, in order, each named as `velkano igc` names it.
class FlightLister {
public:
    void add(int number, IgcFlightText text, std::string_view igc);
    const std::vector<FlightSummary>& flights() const { return flights_; }

private:
    std::vector<FlightSummary> flights_;
    FlightsOfDay flightsOfDay_;
};

// A flight as {"number": 1, "date": ..., "igcName": ...}.
Json flightSummaryJson(const FlightSummary& flight);

// The heading and one line per flight, columns aligned by characters; ends in a line feed.
std::string flightTable(const std::vector<FlightSummary>& flights);
// What velkano list prints of one file: its name on a line, then its table ("" when the file
// has no flights).
std::string flightTableOf(const std::string& file, const std::vector<FlightSummary>& flights);

}  // namespace velkano::tool
