// The IGC long file name of a flight, YYYY-MM-DD-MMM-SERIAL-NN.igc, from the A and HFDTE
// lines the driver prints for it.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace velkano::tool {

struct FlightIdentity {
    std::string date;    // YYYY-MM-DD; 0000-00-00 when the flight has no readable date
    std::string maker;   // recorder maker code
    std::string serial;  // recorder serial
};

// Reads the first A and HFDTE lines of one flight's IGC text. Maker and serial come from a
// file anyone may have written, so they keep only letters and digits (others become '_')
// and can never form a path.
FlightIdentity identifyFlight(std::string_view igc);

// flightOfDay counts from 1 and prints with at least two digits.
std::string igcFileName(const FlightIdentity& flight, int flightOfDay);

// Counts the flights of each day and recorder in the order they come: 1, 2, 3...
class FlightsOfDay {
public:
    int next(const FlightIdentity& flight) { return ++counts_[igcFileName(flight, 0)]; }

private:
    std::map<std::string, int> counts_;
};

}  // namespace velkano::tool
