#include "example_flight.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace testenc {

TpRecordFields exampleTurnpoint(int32_t number) {
    TpRecordFields made;
    made.number = number;
    made.name = "Point " + std::to_string(number);
    made.shortName = "P" + std::to_string(number);
    made.latitude = 46.5 + number * 0.125;
    made.longitude = 7.25 - number * 0.0625;
    made.elevation = 450 + number;
    return made;
}

namespace {

FixFields exampleFix(int i) {
    FixFields made;
    made.latitude = 47.5 + i * 0.001;
    made.longitude = 8.25 - i * 0.002;
    made.seconds = 47109 + 4 * i;
    made.pressureAltitude = 1234 + i;
    made.gnssAltitude = 1250 + i;
    made.enl = 7;
    return made;
}

}  // namespace

void setExtremeFixValues(std::vector<FixFields>& fixes) {
    constexpr int kAltitudes[] = {-32768, 32767, -5, 0, 99, -1};
    constexpr int kEnl[] = {-1, 32767, 1000, 999, 0, -32768};
    constexpr double kLatitudes[] = {90.0, -90.0, 95.0, -0.0, 89.99999, 62.953125};
    constexpr double kLongitudes[] = {180.0, -180.0, 190.0, -0.0, 179.99999, -2.5};
    for (size_t i = 0; i < std::min<size_t>(fixes.size(), std::size(kAltitudes)); ++i) {
        FixFields& fix = fixes[i];
        fix.pressureAltitude = kAltitudes[i];
        fix.gnssAltitude = kAltitudes[(i + 3) % std::size(kAltitudes)];
        fix.enl = kEnl[i];
        fix.validity = i % 2 == 0 ? 0x80 : 0;
        fix.latitude = kLatitudes[i];
        fix.longitude = kLongitudes[i];
    }
}

FlightFields exampleFlight(int fixCount, int taskPoints) {
    FlightFields made;
    for (int i = 0; i < fixCount; ++i) made.fixes.push_back(exampleFix(i));
    made.day = 5;
    made.month = 7;
    made.year = 2004;
    made.recorderMaker = "ABCD";
    made.recorderSerial = "12345";
    made.recorderType = "LOGGER 7";
    made.pilot = "Ann Example";
    made.gliderType = "Club 15";
    made.gliderId = "D-1234";
    made.competitionId = "X1";
    made.competitionClass = "Club";
    for (int i = 0; i < taskPoints; ++i) made.task.push_back({exampleTurnpoint(i + 1)});
    return made;
}

}  // namespace testenc
