// Output files that the commands and the page write alike: whole files replaced only once
// complete, and a flight's IGC file in a directory under the name velkano igc gives it.
#pragma once

#include <functional>
#include <string>

#include "formats/igc_name.h"
#include "formats/output_sink.h"

namespace velkano::tool {

// Makes an output a block at a time, handing every block to the sink it is given.
using OutputWriter = std::function<void(const OutputSink&)>;

// Writes path, replacing it only once all of it is written; ToolError on failure.
void writeFile(const std::string& path, const OutputWriter& write);

// Never over an existing file: the flight takes the next free number of its day (so in an
// empty directory, the flights of one day and recorder are numbered 01, 02... in the order
// they come). Returns the path written.
std::string writeNewFlightFile(const std::string& directory, const FlightIdentity& flight,
                               const OutputWriter& igc);

// The flight's own name, replacing what is there. Returns the path written.
std::string replaceFlightFile(const std::string& directory, const FlightIdentity& flight,
                              int flightOfDay, const OutputWriter& igc);

}  // namespace velkano::tool
