// A small IGC reader for the tests, and the conversion of a real IGC log into the flight
// record a legacy logger would have written for it. Also defines the committed sample
// flight files, so the sample tool and the tests build them the same way.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "flight_file_encoder.h"

namespace testenc {

// One B record, its fields kept as printed.
struct IgcFix {
    std::string time;       // HHMMSS
    std::string latitude;   // DDMMmmmN
    std::string longitude;  // DDDMMmmmE
    char validity = 'V';
    int pressureAltitude = 0;
    int gnssAltitude = 0;
    std::optional<int> enl;  // when the I record declares ENL
};

// One task point line of a C declaration.
struct IgcTaskPoint {
    std::string latitude;   // DDMMmmmN
    std::string longitude;  // DDDMMmmmE
    std::string name;       // without surrounding white space
};

struct IgcLog {
    std::string manufacturer;  // the three characters after A
    std::string serial;        // the three after those
    int day = 0;
    int month = 0;
    int year = 0;  // two digits
    std::string recorderType;
    std::string pilot;
    std::string gliderType;
    std::string gliderId;
    std::string competitionId;
    std::string competitionClass;
    // The point lines of the first declaration: takeoff, start, turnpoints, finish, landing.
    std::vector<IgcTaskPoint> declaredPoints;
    std::vector<IgcFix> fixes;
    std::vector<std::string> bLines;  // every B line, without its line end
    std::vector<std::string> cLines;  // every C line, without its line end
};

// Reads the A, H (any source letter), I, C and B records; other lines are passed over.
// Takes CRLF and LF line ends, a last line without one, and any bytes in texts. Throws
// std::runtime_error on a B or C line too short for its fields.
IgcLog parseIgc(std::string_view text);

// Signed thousandths of a minute of "DDMMmmmN" or "DDDMMmmmE" (south and west negative).
int64_t igcThousandths(std::string_view coordinate);
// Degrees of the same texts, exact in double.
double igcDegrees(std::string_view coordinate);
// Seconds since midnight of "HHMMSS".
int32_t igcSeconds(std::string_view time);

// The flight record for a log: header texts cut to their fields, a four-digit year, the
// fixes with their times counted on past midnight (a time more than 12 hours before the
// one before it belongs to the next day, as a logger counting from the flight's day stores
// it), and the declared task from start to finish (takeoff and landing lines left out).
// Throws std::runtime_error when the log has more fixes than a fix list holds or a value
// that does not fit its int16 field.
FlightFields flightFromIgc(const IgcLog& log, int version);

// The committed sample flight files: their names under examples/, their version and
// the fixture logs they hold, in order.
struct FlightSampleFields {
    std::string fileName;
    int version = 5;
    std::vector<std::string> logs;
};
const std::vector<FlightSampleFields>& flightSamples();

// A sample's bytes, built from the logs in igcDirectory.
std::vector<uint8_t> buildFlightSample(const FlightSampleFields& sample,
                                       const std::string& igcDirectory);

// The bytes of a file; throws std::runtime_error when it cannot be read.
std::string readWholeFile(const std::string& path);

}  // namespace testenc
