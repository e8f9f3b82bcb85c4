// The flights of a flight file as IGC text, one at a time, through the flight driver's
// FIO_Flight2IGC: what velkano igc writes and velkano list reads. Every check of the input
// (its kind, its size, a cut or malformed flight) is made here, so both say the same.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include <vector>

#include "host/driver_library.h"
#include "formats/igc_text.h"

namespace velkano::tool {

// What is said of a flight file that holds no flights: no failure, but worth a word.
inline constexpr const char* kNoFlights = "no flights";

// Called with the flight's number (from 1) and its IGC text as the driver printed it (LF
// line ends, windows-1252 texts); the text is valid only during the call. Returns false to
// read no further flights.
using FlightVisitor = std::function<bool(int number, std::string_view igc)>;

// Reads the flights of path in order and returns how many were read. Throws ToolError when
// path is no flight file, too short for one, or a flight is cut short or malformed; the
// flights before it have been visited.
int readFlights(DriverLibrary& driver, const std::string& path, const FlightVisitor& visit);

// Called with a flight's number, its IGC text as the driver printed it and that text read back.
using ReadBackVisitor = std::function<bool(int number, std::string_view igc, IgcFlightText flight)>;

// readFlights, each flight also read back by parseFlightText: the one pass velkano list, velkano
// view and the page make over a flight file.
int readFlightsBack(DriverLibrary& driver, const std::string& path, const ReadBackVisitor& visit);

// The driver's IGC text of a flight read back (igc_text.h); ToolError naming path, the flight
// and the line when the text has not the layout of IGC.
IgcFlightText parseFlightText(const std::string& path, int number, std::string_view igc);

}  // namespace velkano::tool
