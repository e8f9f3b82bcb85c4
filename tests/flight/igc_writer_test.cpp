// The IGC lines printed for a flight.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "example_flight.h"
#include "flight_reader.h"
#include "flight_record.h"
#include "igc_capture.h"
#include "igc_writer.h"
#include "mem_file.h"

namespace {

using Lines = std::vector<std::string>;

// The example flight of one fix and four task points, as the flight driver reads it.
FIO_Flight exampleFlight() {
    MemFile file(testenc::encodeFlightRecord(testenc::exampleFlight(1, 4), 5));
    FIO_Flight flight;
    velkano::readFlight(file, 5, flight);
    return flight;
}

Lines printed(const FIO_Flight& flight) {
    IgcCapture out;
    velkano::writeFlightIgc(out.file(), flight);
    return out.lines();
}

Lines cLines(const FIO_Flight& flight) {
    Lines result;
    for (const std::string& line : printed(flight)) {
        if (line[0] == 'C') result.push_back(line);
    }
    return result;
}

TEST(IgcWriterTest, WholeFlight) {
    const Lines expected = {
        "AABC12345",
        "HFDTE050704",
        "HFFXA100",
        "HFFTYFR TYPE:LOGGER 7",
        "HFPLTPILOT:Ann Example",
        "HFGTYGLIDERTYPE:Club 15",
        "HFGIDGLIDERID:",
        "HFCIDCOMPETITIONID:X1",
        "HFCCLCOMPETITIONCLASS:Club",
        "I023638FXA3941ENL",
        "C050704000000000000000102",
        "C4637500N00711250EPoint 1",
        "C4637500N00711250EPoint 1",
        "C4645000N00707500EPoint 2",
        "C4652500N00703750EPoint 3",
        "C4700000N00700000EPoint 4",
        "C4700000N00700000EPoint 4",
        "B1305094730000N00815000EA0123401250000007",
    };
    EXPECT_EQ(printed(exampleFlight()), expected);
    FIO_Flight withoutFixes = exampleFlight();
    withoutFixes.fixes.clear();
    EXPECT_EQ(printed(withoutFixes), Lines(expected.begin(), expected.end() - 1));
}

TEST(IgcWriterTest, DateFieldsAndTexts) {
    struct Case {
        int day, month, year;
        std::string date;
    };
    const Case cases[] = {{5, 7, 1998, "HFDTE050798"},  {5, 7, 2004, "HFDTE050704"},
                          {5, 7, 98, "HFDTE050798"},    {31, 12, 2100, "HFDTE311200"},
                          {123, -1, -5, "HFDTE990095"},  // kept to two digits each
                          {0, 0, 0, "HFDTE000000"}};
    for (const Case& c : cases) {
        FIO_Flight flight = exampleFlight();
        flight.day = c.day;
        flight.month = c.month;
        flight.year = c.year;
        const Lines lines = printed(flight);
        EXPECT_EQ(lines[1], c.date);
        EXPECT_EQ(lines[10].substr(0, 7), "C" + c.date.substr(5));
    }
    // A line break inside a text would start a record of its own.
    FIO_Flight flight = exampleFlight();
    flight.pilot = "Ann\nB1200004730000N";
    flight.recorderMaker = "A\rC";
    flight.task[1].name = "TP\r\n1\x7f";
    const Lines lines = printed(flight);
    EXPECT_EQ(lines[0], "AA C12345");
    EXPECT_EQ(lines[4], "HFPLTPILOT:Ann B1200004730000N");
    EXPECT_EQ(lines[13], "C4645000N00707500ETP  1 ");
}

TEST(IgcWriterTest, TaskRecordsForEachDeclaredCount) {
    // Entry i of the task sits at latitude 10 + i, longitude 20 + i, named Pi.
    auto flightWith = [](std::vector<int> declared, int taskSize) {
        FIO_Flight flight = exampleFlight();
        flight.task = {};
        flight.taskSize = taskSize;
        for (int i = 0; i < FIO_Flight::kMaxTaskSize; ++i) {
            flight.task[static_cast<size_t>(i)].name = "P" + std::to_string(i);
        }
        for (int i : declared) {
            flight.task[static_cast<size_t>(i)].latitude = static_cast<float>(10 + i);
            flight.task[static_cast<size_t>(i)].longitude = static_cast<float>(20 + i);
        }
        return flight;
    };
    auto point = [](int i, bool set = true) {
        char line[40];
        std::snprintf(line, sizeof line, "C%02d00000N%03d00000EP%d", set ? 10 + i : 0,
                      set ? 20 + i : 0, i);
        return std::string(line);
    };
    const std::string decl = "C0507040000000000000001";
    EXPECT_EQ(cLines(flightWith({}, 10)), Lines{});
    // One point is takeoff, start, finish and landing at once.
    EXPECT_EQ(cLines(flightWith({0}, 10)),
              (Lines{decl + "00", point(0), point(0), point(0), point(0)}));
    EXPECT_EQ(cLines(flightWith({0, 1}, 10)),
              (Lines{decl + "00", point(0), point(0), point(1), point(1)}));
    EXPECT_EQ(cLines(flightWith({0, 1, 2, 3}, 10)),
              (Lines{decl + "02", point(0), point(0), point(1), point(2), point(3), point(3)}));
    // Counting does not stop at an empty entry; the lines come from positions 0 to k - 1.
    EXPECT_EQ(cLines(flightWith({0, 5}, 10)),
              (Lines{decl + "00", point(0), point(0), point(1, false), point(1, false)}));
    // Only the first taskSize entries count.
    EXPECT_EQ(cLines(flightWith({0, 10, 11}, 10)).size(), 5u);
    EXPECT_EQ(cLines(flightWith({0, 10, 11}, 20))[0], decl + "01");
    EXPECT_EQ(cLines(flightWith(
                  {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}, 20))[0],
              decl + "18");
    // Latitude alone or longitude alone declares a point.
    FIO_Flight halves = flightWith({}, 10);
    halves.task[0].latitude = -1.5f;
    halves.task[1].longitude = -2.25f;
    EXPECT_EQ(cLines(halves), (Lines{decl + "00", "C0130000S00000000EP0", "C0130000S00000000EP0",
                                     "C0000000N00215000WP1", "C0000000N00215000WP1"}));
}

TEST(IgcWriterTest, FixLinesAlwaysFitTheirColumns) {
    struct Case {
        FIO_FixEntry fix;  // latitude, longitude, seconds, pressure, GNSS, valid, ENL
        const char* line;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {{47.5f, 8.25f, 47109, 1234, 1250, 1, 7}, "B1305094730000N00815000EA0123401250000007"},
        {{-90.0f, -180.0f, 0, -5, 0, -128, 0}, "B0000009000000S18000000WA-000500000000000"},
        {{0.0f, 0.0f, 86399, 0, 0, 0, 0}, "B2359590000000N00000000EV0000000000000000"},
        // Past midnight and before it: folded into the day.
        {{1.0f, 1.0f, 86400, 0, 0, 1, 0}, "B0000000100000N00100000EA0000000000000000"},
        {{1.0f, 1.0f, 90061, 0, 0, 1, 0}, "B0101010100000N00100000EA0000000000000000"},
        {{1.0f, 1.0f, -1, 0, 0, 1, 0}, "B2359590100000N00100000EA0000000000000000"},
        {{1.0f, 1.0f, INT32_MAX, 0, 0, 1, 0}, "B0314070100000N00100000EA0000000000000000"},
        {{1.0f, 1.0f, INT32_MIN, 0, 0, 1, 0}, "B2045520100000N00100000EA0000000000000000"},
        // Altitudes and ENL held to their widths.
        {{1.0f, 1.0f, 0, -9999, 99999, 1, 999}, "B0000000100000N00100000EA-999999999000999"},
        {{1.0f, 1.0f, 0, -10000, 100000, 1, 1000}, "B0000000100000N00100000EA-999999999000999"},
        {{1.0f, 1.0f, 0, INT32_MIN, INT32_MAX, 1, -1}, "B0000000100000N00100000EA-999999999000000"},
        {{nan, nan, 0, 0, -32768, 1, 32767}, "B0000000000000N00000000EA00000-9999000999"},
    };
    for (const Case& c : cases) {
        IgcCapture out;
        velkano::writeFixLine(out.file(), c.fix);
        EXPECT_EQ(out.text(), std::string(c.line) + "\n");
        EXPECT_EQ(std::string(c.line).size(), 41u);
    }
}

}  // namespace
