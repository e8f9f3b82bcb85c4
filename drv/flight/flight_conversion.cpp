#include "flight_conversion.h"

#include "flight_reader.h"
#include "flight_record.h"
#include "igc_writer.h"

bool FIOVelkano17::convertFlight(CFile& flightFile, CStdioFile& igcFile) {
    if (flightFile.GetPosition() == 0) velkano::readFlightHeader(*this, flightFile);
    if (flightDone >= flightTotal) return false;

    // The whole record is read before the first line is printed, so a malformed flight
    // prints nothing.
    FIO_Flight flight;
    velkano::readFlight(*this, flightFile, flight);
    velkano::writeFlightIgc(igcFile, flight);
    ++flightDone;
    return true;
}

namespace velkano {

int32_t convertNextFlight(FIOVelkano17* state, CFile* flightFile, CStdioFile* igcFile) {
    if (state == nullptr || flightFile == nullptr || igcFile == nullptr) return -1;
    return state->convertFlight(*flightFile, *igcFile) ? 1 : 0;
}

}  // namespace velkano
