// Real IGC logs -> our flight file encoder -> FIO_Flight2IGC -> IGC, compared fix by fix with
// the original; and the committed sample flight files, rebuilt and converted.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "host/driver_library.h"
#include "host_test_support.h"
#include "igc_capture.h"
#include "igc_import.h"
#include "mem_file.h"

namespace {

using testenc::IgcLog;

const std::string kFixtureDir = std::string(VELKANO_SOURCE_DIR) + "/tests/fixtures/igc";

const char* const kFixtures[] = {
    "igc-standard-example-two-declarations.igc",     "lxnav-lx8080-2015-07-15-task-extensions.igc",
    "skytraxx-2023-04-15-negative-pressure-alt.igc", "xcsoar-2016-11-08-midnight-crossing-task.igc",
    "xctrack-2020-09-04-hfdtedate-utf8-header.igc",
};

IgcLog fixture(const std::string& name) {
    return testenc::parseIgc(testenc::readWholeFile(kFixtureDir + "/" + name));
}

// Every flight of a flight file, converted through the driver and read back.
std::vector<IgcLog> convertAll(const std::vector<uint8_t>& bytes) {
    DriverLibrary driver(testing_support::driverPath("Velkano17Flt.drf"));
    driver.ExitDriver();
    MemFile file(bytes);
    std::vector<IgcLog> flights;
    for (;;) {
        IgcCapture out;
        const int32_t result = driver.Flight2IGC(&file, &out.file());
        if (result != 1) {
            EXPECT_EQ(result, 0);
            EXPECT_EQ(out.text(), "");
            break;
        }
        const std::string text = out.text();
        EXPECT_EQ(text.back(), '\n');
        flights.push_back(testenc::parseIgc(text));
    }
    driver.ExitDriver();
    return flights;
}

struct OffByOne {
    int latitudes = 0;
    int longitudes = 0;
};

// Checks the converted flight against the original log; counts the fix coordinates that
// differ by one thousandth of a minute.
OffByOne compareFlight(const IgcLog& original, const IgcLog& converted) {
    EXPECT_EQ(converted.manufacturer, original.manufacturer);
    EXPECT_EQ(converted.serial, original.serial);
    EXPECT_EQ(converted.day, original.day);
    EXPECT_EQ(converted.month, original.month);
    EXPECT_EQ(converted.year, original.year);
    EXPECT_EQ(converted.fixes.size(), original.fixes.size());
    OffByOne offByOne;
    const auto compareCoordinate = [](const std::string& got, const std::string& want) {
        const int64_t difference = testenc::igcThousandths(got) - testenc::igcThousandths(want);
        EXPECT_LE(std::abs(difference), 1) << got << " for " << want;
        return difference != 0 ? 1 : 0;
    };
    for (size_t i = 0; i < std::min(converted.fixes.size(), original.fixes.size()); ++i) {
        const testenc::IgcFix& got = converted.fixes[i];
        const testenc::IgcFix& want = original.fixes[i];
        SCOPED_TRACE(original.bLines[i]);
        EXPECT_EQ(converted.bLines[i].size(), 41u);
        EXPECT_EQ(got.time, want.time);
        EXPECT_EQ(got.validity, want.validity);
        EXPECT_EQ(got.pressureAltitude, want.pressureAltitude);
        EXPECT_EQ(got.gnssAltitude, want.gnssAltitude);
        EXPECT_EQ(got.enl.value_or(-1), want.enl.value_or(0));
        offByOne.latitudes += compareCoordinate(got.latitude, want.latitude);
        offByOne.longitudes += compareCoordinate(got.longitude, want.longitude);
        if (testing::Test::HasFailure()) break;
    }
    // The declared points from start to finish come back between takeoff and landing.
    const auto& want = original.declaredPoints;
    const auto& got = converted.declaredPoints;
    if (want.size() < 3) {
        EXPECT_TRUE(got.empty());
        return offByOne;
    }
    EXPECT_EQ(got.size(), want.size());
    for (size_t i = 1; i + 1 < std::min(got.size(), want.size()); ++i) {
        compareCoordinate(got[i].latitude, want[i].latitude);
        compareCoordinate(got[i].longitude, want[i].longitude);
        EXPECT_EQ(got[i].name,
                  want[i].name.substr(0, velkano::longestText(velkano::kTurnpointNameWidth)));
    }
    return offByOne;
}

TEST(IgcRoundTripTest, EveryFixtureInSeveralLayouts) {
    struct Layout {
        int version;
        bool header;
    };
    for (const char* name : kFixtures) {
        const IgcLog original = fixture(name);
        ASSERT_FALSE(original.fixes.empty()) << name;
        for (const Layout layout : {Layout{7, true}, Layout{5, true}, Layout{2, false}}) {
            SCOPED_TRACE(testing::Message() << name << " version " << layout.version);
            testenc::FlightFileFields desc;
            desc.version = layout.version;
            desc.header = layout.header;
            desc.flights = {testenc::flightFromIgc(original, layout.version)};
            const auto flights = convertAll(testenc::encodeFlightFile(desc));
            ASSERT_EQ(flights.size(), 1u);
            const OffByOne offByOne = compareFlight(original, flights[0]);
            if (layout.version == 7) {
                std::cout << "[ round trip ] " << name << ": " << original.fixes.size()
                          << " fixes, " << original.declaredPoints.size()
                          << " declared point lines; one thousandth of a minute off: "
                          << offByOne.latitudes << " latitudes, " << offByOne.longitudes
                          << " longitudes\n";
            }
        }
    }
}

TEST(FlightSamplesTest, CommittedSamplesAreCurrentAndConvert) {
    for (const testenc::FlightSampleFields& sample : testenc::flightSamples()) {
        SCOPED_TRACE(sample.fileName);
        const auto committed = testing_support::readFileBytes(std::string(VELKANO_SOURCE_DIR) +
                                                              "/examples/" + sample.fileName);
        ASSERT_EQ(committed, testenc::buildFlightSample(sample, kFixtureDir))
            << "rebuild with make_samples";
        const auto flights = convertAll(committed);
        ASSERT_EQ(flights.size(), sample.logs.size());
        for (size_t i = 0; i < flights.size(); ++i) {
            compareFlight(fixture(sample.logs[i]), flights[i]);
        }
    }
}

}  // namespace
