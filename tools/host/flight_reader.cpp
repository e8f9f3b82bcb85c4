#include "host/flight_reader.h"

#include <memory>
#include <system_error>

#include "host/failure.h"
#include "host/input_file.h"
#include "io/paths.h"
#include "host/driver_session.h"
#include "io/file_kind.h"
#include "host/igc_capture.h"
#include "host/tracked_file.h"
#include "velkano/fio_codes.h"

namespace velkano::tool {

int readFlights(DriverLibrary& driver, const std::string& path, const FlightVisitor& visit) {
    expectFileKind(path, FileKind::flight);
    std::unique_ptr<CStdioFile> file = openInput(path);
    const uint64_t size = fileSizeOf(path);
    if (size < kFileHeaderSize) {
        throw ToolError(path, "not a flight file (" + std::to_string(size) + " bytes)");
    }
    TrackedFile flights(*file);
    DriverSession session(driver);
    // A flight file's header announces at most kMaxRecordCount flights.
    for (int flight = 1; flight <= kMaxRecordCount + 1; ++flight) {
        IgcCapture capture(path);
        const std::string record = "flight " + std::to_string(flight);
        int32_t result = 0;
        try {
            result = driver.Flight2IGC(&flights, &capture.file());
        } catch (...) {
            throw currentError(flights.scene(path, record, size));
        }
        if (result == kNoFlightLeft) return flight - 1;
        if (result != kDone)
            throw ToolError(path, "the driver cannot convert flights (it answered " +
                                      std::to_string(result) + ")");
        // A driver that takes what a short read leaves as zeros would pass a cut flight.
        if (flights.readPastEnd()) throw ToolError(path, cutShort(record, size));
        std::string_view igc;
        try {
            igc = capture.contents();
        } catch (const std::system_error& e) {
            throw ToolError(path, e.what());
        }
        if (!visit(flight, igc)) return flight;
    }
    throw ToolError(path, "the driver converted more flights than a flight file holds");
}

int readFlightsBack(DriverLibrary& driver, const std::string& path, const ReadBackVisitor& visit) {
    return readFlights(driver, path, [&](int number, std::string_view igc) {
        return visit(number, igc, parseFlightText(path, number, igc));
    });
}

IgcFlightText parseFlightText(const std::string& path, int number, std::string_view igc) {
    try {
        return parseIgcText(igc);
    } catch (const IgcTextError& e) {
        throw ToolError(path, "flight " + std::to_string(number) + ": the driver's IGC line " +
                                  std::to_string(e.line()) + ": " + e.what());
    }
}

}  // namespace velkano::tool
