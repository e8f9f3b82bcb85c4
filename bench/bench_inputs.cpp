#include "bench_inputs.h"

#include <cmath>
#include <numbers>
#include <string>

#include "example_flight.h"
#include "velkano/fio_codes.h"

namespace bench {

namespace {

constexpr int32_t kTakeoffSeconds = 9 * 3600 + 41 * 60 + 17;
constexpr double kCentreLatitude = 46.7813;
constexpr double kCentreLongitude = 9.6427;

// prefix followed by the number. (Built by appending: GCC 12 at -O3 warns falsely about
// "literal" + std::to_string.)
std::string numbered(const char* prefix, int number) {
    std::string text = prefix;
    text += std::to_string(number);
    return text;
}

testenc::FixFields fix(int i) {
    // Loops of a few kilometres drifting east, so every digit of the coordinates moves.
    const double turn = 2.0 * std::numbers::pi * i / 240.0;
    testenc::FixFields f;
    f.latitude = kCentreLatitude + 0.021 * std::sin(turn) + 0.0000071 * i;
    f.longitude = kCentreLongitude + 0.034 * std::cos(turn) + 0.0000113 * i;
    f.seconds = kTakeoffSeconds + i;
    f.pressureAltitude = 1200 + static_cast<int>(900.0 * std::sin(i / 997.0) + i % 37);
    f.gnssAltitude = f.pressureAltitude + 23 + i % 11;
    f.validity = i % 100 == 99 ? 0 : 1;
    f.enl = i % 53;
    f.extra = {i % 7, 3, -1};
    return f;
}

testenc::TaskEntryFields taskPoint(int i) {
    testenc::TaskEntryFields entry;
    entry.record.number = i + 1;
    entry.record.name = numbered("Task point ", i + 1) + " Alpenrand";
    entry.record.shortName = numbered("TP", i + 1);
    entry.record.latitude = kCentreLatitude - 0.3 + 0.037 * i;
    entry.record.longitude = kCentreLongitude + 0.45 - 0.051 * i;
    entry.record.elevation = 400.0 + 31.0 * i;
    return entry;
}

}  // namespace

std::vector<uint8_t> flightFile(int fixCount) {
    testenc::FlightFields flight = testenc::exampleFlight(0, 0);
    flight.fixes.reserve(static_cast<size_t>(fixCount));
    for (int i = 0; i < fixCount; ++i) flight.fixes.push_back(fix(i));
    for (int i = 0; i < kDeclaredPoints; ++i) flight.task.push_back(taskPoint(i));

    testenc::FlightFileFields file;
    file.version = kFlightVersion;
    file.flights.push_back(std::move(flight));
    return testenc::encodeFlightFile(file);
}

std::vector<FIO_TPEntry> turnpoints(int count) {
    static constexpr int32_t kKinds[] = {1, 4, 5, 256, 512, 1024, 2048};
    std::vector<FIO_TPEntry> entries(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        FIO_TPEntry& e = entries[static_cast<size_t>(i)];
        e.number = i + 1;
        e.name = numbered("Turnpoint ", i + 1) + " Hochebene";
        e.shortName = numbered("T", i + 1);
        e.comment = "Landable field beside the river, power line on the north side";
        e.elevation = 250 + i % 2500;
        e.markFlag = i % 2;
        e.latitude = static_cast<float>(44.0 + 0.00037 * i);
        e.longitude = static_cast<float>(5.0 + 0.00061 * i);
        e.kind = kKinds[i % std::size(kKinds)];
        if (velkano::isAirfieldKind(e.kind)) {
            e.icaoCode = {'L', 'S', static_cast<char>('A' + i % 26), 'Z'};
            e.frequency = "122.475";
            e.runwayLength = 600 + i % 900;
            e.runwayDirection = (i * 7) % 360;
            e.surface = i % 2 == 0 ? velkano::kSurfaceG : velkano::kSurfaceH;
        }
    }
    return entries;
}

std::unique_ptr<FIO_Route> route(int32_t id, int32_t turnpointCount) {
    auto r = std::make_unique<FIO_Route>();
    r->id = id;
    r->name = numbered("Route ", id) + " out and return over the ridge";
    for (int32_t i = 0; i < kRoutePoints; ++i) {
        int32_t role = i % 3 == 0 ? velkano::kRoleFlaggedTurnpoint : velkano::kRoleTurnpoint;
        if (i == 0) role = velkano::kRoleBeforeStart;
        if (i == 1) role = velkano::kRoleStart;
        if (i == kRoutePoints - 2) role = velkano::kRoleFinish;
        if (i == kRoutePoints - 1) role = velkano::kRoleAfterFinish;
        r->addPoint((id * 13 + i * 101) % turnpointCount + 1, role, -1);
    }
    return r;
}

}  // namespace bench
