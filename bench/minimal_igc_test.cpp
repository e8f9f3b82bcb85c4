// The minimal converter is the floor FIO_Flight2IGC is measured against: it has to print the
// driver's text byte for byte, or the ratio compares different work.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench_inputs.h"
#include "flight_conversion.h"
#include "example_flight.h"
#include "mem_file.h"
#include "minimal_igc.h"

namespace {

using testenc::FixFields;
using testenc::FlightFields;
using testenc::FlightFileFields;
using testenc::TaskEntryFields;

std::string driverText(const std::vector<uint8_t>& image) {
    MemFile flights(image);
    std::FILE* stream = std::tmpfile();
    EXPECT_NE(stream, nullptr);
    CStdioFile igc(stream, "driver.igc", true);
    velkano::FlightState state;
    EXPECT_TRUE(velkano::convertFlight(state, flights, igc));
    std::fflush(stream);
    std::string text(static_cast<size_t>(std::ftell(stream)), '\0');
    std::rewind(stream);
    text.resize(std::fread(text.data(), 1, text.size(), stream));
    return text;
}

TaskEntryFields point(double latitude, double longitude, std::string name, int version = 5) {
    TaskEntryFields entry;
    entry.record.version = version;
    entry.record.latitude = latitude;
    entry.record.longitude = longitude;
    entry.record.name = std::move(name);
    return entry;
}

FlightFields track(int fixes) {
    FlightFields flight;
    for (int i = 0; i < fixes; ++i) {
        FixFields fix;
        fix.seconds = 50000 + 7 * i;
        fix.latitude = -33.8 + 0.013 * i;
        fix.longitude = -70.6 - 0.021 * i;
        fix.pressureAltitude = 800 + 11 * i;
        fix.gnssAltitude = 820 + 13 * i;
        flight.fixes.push_back(fix);
    }
    return flight;
}

FlightFileFields file(int version, FlightFields flight) {
    FlightFileFields desc;
    desc.version = version;
    desc.flights.push_back(std::move(flight));
    return desc;
}

TEST(MinimalIgcTest, PrintsTheDriversTextForEveryLayoutAndOddValue) {
    struct Case {
        const char* what;
        std::vector<uint8_t> image;
    };
    std::vector<Case> cases;
    cases.push_back({"benchmark flight", bench::flightFile(300)});

    FlightFields odd = track(6);
    testenc::setExtremeFixValues(odd.fixes);
    const int32_t seconds[] = {-1, 86400, 90061, INT32_MAX, INT32_MIN, 0};
    for (size_t i = 0; i < odd.fixes.size(); ++i) odd.fixes[i].seconds = seconds[i];
    odd.recorderMaker = "AB ";
    odd.recorderSerial = "";
    odd.pilot = "Tab\there  ";
    odd.competitionClass = "Line\rbreak";
    odd.day = 123;
    odd.month = -4;
    odd.year = 98;
    odd.task = {point(-12.5, 0.0, "South"), point(0.0, -45.25, "West\x01"),
                point(51.0, 7.0, "Third", 2)};
    cases.push_back({"odd values, version 5", testenc::encodeFlightFile(file(5, odd))});

    FlightFields single = track(3);
    single.task = {point(47.5, 8.25, "Only")};
    single.extensionMarker = testenc::kExtensionMarker;
    single.extensionCount = 2;
    cases.push_back({"one declared point, version 6", testenc::encodeFlightFile(file(6, single))});

    FlightFields gaps = track(2);
    gaps.task = {point(47.0, 8.0, "A"), point(0.0, 0.0, "blank"), point(46.0, 9.0, "C")};
    gaps.task[0].record.shortName = "A much longer short name";
    gaps.gliderId = "D-1234";
    cases.push_back(
        {"an empty entry between, version 7", testenc::encodeFlightFile(file(7, gaps))});

    cases.push_back({"no fixes and no task, version 3", testenc::encodeFlightFile(file(3, {}))});

    for (const Case& c : cases) {
        std::string minimal;
        ASSERT_TRUE(bench::minimalIgc(c.image, minimal)) << c.what;
        EXPECT_EQ(minimal, driverText(c.image)) << c.what;
    }
}

TEST(MinimalIgcTest, RefusesWhatItCannotConvertWithoutReadingPastTheEnd) {
    const std::vector<uint8_t> good = bench::flightFile(20);
    FlightFileFields headerless = file(7, track(2));
    headerless.header = false;
    FlightFields badFix = track(2);
    badFix.fixes[1].tag = 'x';
    FlightFields badTask = track(1);
    badTask.task = {point(1.0, 1.0, "P")};
    badTask.task[0].record.detailTag = 'x';
    const std::vector<std::vector<uint8_t>> refused = {
        {},
        testenc::encodeFlightFile(headerless),
        testenc::encodeFlightFile(file(7, badFix)),
        testenc::encodeFlightFile(file(7, badTask)),
        testenc::encodeFlightFile(FlightFileFields{}),  // no flight
    };
    for (const std::vector<uint8_t>& image : refused) {
        std::string text;
        EXPECT_FALSE(bench::minimalIgc(image, text));
    }
    // Cut anywhere before the record's last Real48, which neither converter prints.
    for (size_t size = 0; size < good.size() - 6; size += 7) {
        std::string text;
        EXPECT_FALSE(bench::minimalIgc({good.data(), size}, text)) << size;
    }
}

}  // namespace
