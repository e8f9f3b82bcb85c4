// The IGC text the flight driver prints, as velkano captures and reads it back.
#include <gtest/gtest.h>

#include "example_flight.h"
#include "flight_file_encoder.h"
#include "formats/igc_text.h"
#include "host/driver_library.h"
#include "host/igc_capture.h"
#include "mem_file.h"

using namespace velkano::tool;

namespace {

TEST(IgcOutput, CaptureKeepsWhatTheDriverPrints) {
    IgcCapture capture("out");
    igcPrintf(capture.file(), "A%3.3s%s\n", "ABCD", "12345");
    igcPrintf(capture.file(), "HFDTE%02d%02d%02d\n", 5, 7, 4);
    EXPECT_EQ(capture.contents(), "AABC12345\nHFDTE050704\n");
    igcPrintf(capture.file(), "B\n");
    EXPECT_EQ(capture.contents(), "AABC12345\nHFDTE050704\nB\n");
}

// The text the flight driver prints reads back to the flight that was encoded.
TEST(IgcText, ReadsBackWhatTheFlightDriverPrints) {
    testenc::FlightFields desc = testenc::exampleFlight(0, 0);
    desc.pilot = "J\xF6rg M\xFCller";
    const double points[][2] = {{47.5, 8.25}, {-33.125, -70.5}, {46.0, 7.0}};
    for (const auto& p : points) {
        testenc::TaskEntryFields entry;
        entry.record.name = "TP " + std::to_string(desc.task.size() + 1);
        entry.record.latitude = p[0];
        entry.record.longitude = p[1];
        desc.task.push_back(entry);
    }
    for (int i = 0; i < 3; ++i) {
        testenc::FixFields fix;
        fix.latitude = -12.5 - i * 0.25;
        fix.longitude = 170.75 + i;
        fix.seconds = 86398 + i;  // across midnight
        fix.pressureAltitude = -50 + i * 1000;
        fix.gnssAltitude = 3000 - i;
        fix.validity = i % 2;
        fix.enl = 100 * i;
        desc.fixes.push_back(fix);
    }
    testenc::FlightFileFields file;
    file.version = 7;
    file.flights = {desc};
    MemFile input(testenc::encodeFlightFile(file), "/mem/day.flt");
    DriverLibrary driver(std::string(VELKANO_DRIVER_DIR) + "/Velkano17Flt.drf");
    driver.InitDriver();
    IgcCapture capture("out");
    ASSERT_EQ(driver.Flight2IGC(&input, &capture.file()), 1);
    driver.ExitDriver();

    const IgcFlightText flight = parseIgcText(capture.contents());
    EXPECT_EQ(flight.recorderMaker, "ABC");  // the A record's three letters
    EXPECT_EQ(flight.recorderSerial, desc.recorderSerial);
    EXPECT_EQ(flight.date.year * 10000 + flight.date.month * 100 + flight.date.day, 20040705);
    EXPECT_EQ(flight.header("PLT"), desc.pilot);
    EXPECT_EQ(flight.header("GTY"), desc.gliderType);
    EXPECT_EQ(flight.header("GID"), desc.gliderId);
    EXPECT_EQ(flight.header("CID"), desc.competitionId);
    EXPECT_EQ(flight.declaredTurnpoints, 1);
    // Takeoff and landing around the three declared points.
    ASSERT_EQ(flight.task.size(), 5u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(flight.task[i + 1].name, desc.task[i].record.name);
        EXPECT_NEAR(flight.task[i + 1].latitude, points[i][0], 1e-5);
        EXPECT_NEAR(flight.task[i + 1].longitude, points[i][1], 1e-5);
    }
    ASSERT_EQ(flight.fixes.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        const testenc::FixFields& want = desc.fixes[i];
        const IgcFix& got = flight.fixes[i];
        EXPECT_EQ(got.seconds, want.seconds);
        EXPECT_NEAR(got.latitude, want.latitude, 1e-5);
        EXPECT_NEAR(got.longitude, want.longitude, 1e-5);
        EXPECT_EQ(got.valid, want.validity != 0);
        EXPECT_EQ(got.pressureAltitude, want.pressureAltitude);
        EXPECT_EQ(got.gnssAltitude, want.gnssAltitude);
        EXPECT_EQ(flight.extension(got, "ENL"), want.enl);
    }
}

}  // namespace
