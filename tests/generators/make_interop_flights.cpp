// Writes flight files that push the IGC writer to its limits, for checking its output with
// IGC readers written by others: every declared task size, times across and before
// midnight, values beyond their print widths and texts with control characters.
//
//   make_interop_flights OUT_DIR
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "example_flight.h"
#include "host_test_support.h"

namespace {

using testenc::FixFields;
using testenc::FlightFields;
using testenc::FlightFileFields;

// The example flight on a short track: one fix every ten seconds from start, heading
// north-east.
FlightFields track(int32_t start, int count) {
    FlightFields flight = testenc::exampleFlight(0, 0);
    for (int i = 0; i < count; ++i) {
        FixFields fix;
        fix.seconds = start + 10 * i;
        fix.latitude = 47.25 + 0.001 * i;
        fix.longitude = 8.5 + 0.001 * i;
        fix.pressureAltitude = 900 + i;
        fix.gnssAltitude = 950 + i;
        flight.fixes.push_back(fix);
    }
    return flight;
}

FlightFields withTask(FlightFields flight, int points) {
    for (int i = 0; i < points; ++i) {
        testenc::TaskEntryFields entry;
        entry.record.name = "TP" + std::to_string(i);
        entry.record.latitude = 47.0 + 0.1 * i;
        entry.record.longitude = 8.0 - 0.1 * i;
        flight.task.push_back(entry);
    }
    return flight;
}

FlightFileFields taskSizes(int version, std::vector<int> sizes) {
    FlightFileFields file;
    file.version = version;
    for (int points : sizes) file.flights.push_back(withTask(track(36000, 5), points));
    return file;
}

FlightFileFields oddValues() {
    FlightFileFields file;
    file.version = 7;
    FlightFields midnight = withTask(track(86400 - 35, 8), 1);  // runs past 24:00:00
    FlightFields early = track(-25, 5);                         // starts before midnight
    FlightFields odd = withTask(track(50000, 6), 2);
    testenc::setExtremeFixValues(odd.fixes);
    odd.recorderMaker = "X";
    odd.recorderSerial = "";
    odd.pilot = "Line\nBreak\rInside";
    odd.gliderType = "Tab\there";
    odd.task[0].record.name = "Name\nB0000000000000N00000000EA0000000000";
    file.flights = {midnight, early, odd};
    return file;
}

// Names in windows-1252 beyond ASCII, for the text modes of velkano igc.
FlightFileFields accentedNames() {
    FlightFileFields file;
    file.version = 7;
    FlightFields flight = withTask(track(40000, 4), 2);
    flight.pilot = "J\xF6rg M\xFCller";
    flight.gliderType = "\xC9lan \xDF\x80";
    flight.competitionId = "\xC6\xF8";
    flight.task[0].record.name =
        "Z\xFCrich-S\xFC"
        "d";
    flight.task[1].record.name = "Cr\xEAte*!~";
    file.flights = {flight};
    return file;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_interop_flights OUT_DIR\n");
        return 2;
    }
    const std::string outDir = argv[1];
    FlightFileFields headerless = taskSizes(2, {0, 4});
    headerless.header = false;
    const std::pair<const char*, FlightFileFields> files[] = {
        {"task_sizes_v6.flt", taskSizes(6, {0, 1, 2, 3, 4, 10, 20})},
        {"task_sizes_v5.flt", taskSizes(5, {1, 10})},
        {"headerless_v2.flt", headerless},
        {"odd_values.flt", oddValues()},
        {"accented_names.flt", accentedNames()},
    };
    try {
        std::filesystem::create_directories(outDir);
        for (const auto& [name, desc] : files) {
            testing_support::writeFileBytes(outDir + "/" + name, testenc::encodeFlightFile(desc));
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make_interop_flights: %s\n", error.what());
        return 1;
    }
    return 0;
}
