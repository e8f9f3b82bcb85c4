#include "flight_conversion.h"

#include "flight_reader.h"
#include "flight_record.h"
#include "igc_writer.h"
#include "record_io.h"
#include "velkano/fio_codes.h"

namespace velkano {

void startFlightFile(FlightState& state, CFile& flightFile) {
    const FileHeader header = readFlightFileHeader(flightFile);
    state.version = header.version;
    if (header.count < 0 || header.count > kMaxRecordCount) throwBadFile();
    state.flights.total = header.count;
    state.flights.done = 0;
}

bool convertFlight(FlightState& state, CFile& flightFile, CStdioFile& igcFile) {
    if (flightFile.GetPosition() == 0) startFlightFile(state, flightFile);
    if (state.flights.finished()) return false;

    // The whole record is read before the first line is printed, so a malformed flight
    // prints nothing.
    FIO_Flight flight;
    readFlight(flightFile, state.version, flight);
    writeFlightIgc(igcFile, flight);
    ++state.flights.done;
    return true;
}

int32_t convertNextFlight(FlightState* state, CFile* flightFile, CStdioFile* igcFile) {
    if (state == nullptr || flightFile == nullptr || igcFile == nullptr) return kRefused;
    return convertFlight(*state, *flightFile, *igcFile) ? kDone : kNoFlightLeft;
}

}  // namespace velkano
