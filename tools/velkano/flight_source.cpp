#include "flight_source.h"

#include <memory>

#include "command_support.h"
#include "driver_session.h"
#include "file_kind.h"
#include "igc_output.h"
#include "tracked_file.h"

namespace velkano::tool {

namespace {

constexpr const char* kBadFile = "bad file";
// The file header: magic text, version and flight count.
constexpr uint64_t kFlightHeaderSize = 56;
// A flight file's header announces at most this many flights.
constexpr int kMaxFlights = 16384;
constexpr int32_t kNoFlightLeft = 0;
constexpr int32_t kFlightConverted = 1;

std::string cutShort(const std::string& where, uint64_t size) {
    return "file ends at byte " + std::to_string(size) + " inside " + where + " (cut short?)";
}

std::string describeFailure(const FIO_Error& error, int flight, const TrackedFile& file,
                            uint64_t size) {
    const std::string where =
        error.message == kBadFile ? "header" : "flight " + std::to_string(flight);
    if (file.readPastEnd()) return cutShort(where, size);
    return error.message + " (" + where + ", byte " + std::to_string(file.lastReadStart()) + ")";
}

}  // namespace

int readFlights(DriverLibrary& driver, const std::string& path, const FlightVisitor& visit) {
    expectFileKind(path, FileKind::flight);
    std::unique_ptr<CStdioFile> file = openInput(path);
    const uint64_t size = fileSizeOf(path);
    if (size < kFlightHeaderSize) {
        throw ToolError(path, "not a flight file (" + std::to_string(size) + " bytes)");
    }
    TrackedFile flights(*file);
    DriverSession session(driver);
    for (int flight = 1; flight <= kMaxFlights + 1; ++flight) {
        IgcCapture capture(path);
        int32_t result = 0;
        try {
            result = driver.Flight2IGC(&flights, &capture.file());
        } catch (const FIO_Error& e) {
            throw ToolError(path, describeFailure(e, flight, flights, size));
        } catch (...) {
            throw currentError({path, "flight " + std::to_string(flight)});
        }
        if (result == kNoFlightLeft) return flight - 1;
        if (result != kFlightConverted)
            throw ToolError(path, "the driver cannot convert flights (it answered " +
                                      std::to_string(result) + ")");
        // A driver that takes what a short read leaves as zeros would pass a cut flight.
        if (flights.readPastEnd())
            throw ToolError(path, cutShort("flight " + std::to_string(flight), size));
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

}  // namespace velkano::tool
