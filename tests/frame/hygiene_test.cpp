// Hygiene as a host sees it: many load/init/use/exit/unload cycles, and passes cut short by
// an error or an unload, leave no file open and no memory behind; a count a file cannot
// back ends the pass at once. Leaks are counted by LeakSanitizer in sanitizer builds (the
// asan preset); descriptors everywhere.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/driver_library.h"
#include "driver_checks.h"
#include "flight_file_encoder.h"
#include "host_test_support.h"
#include "mem_file.h"
#include "route_file_encoder.h"
#include "route_host.h"
#include "tp_record_encoder.h"
#include "velkano/fio_error.h"
#include "velkano/host_file.h"

#if defined(__SANITIZE_ADDRESS__)
#define VELKANO_LEAK_CHECK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELKANO_LEAK_CHECK 1
#endif
#endif
#if defined(VELKANO_LEAK_CHECK)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

using Bytes = std::vector<uint8_t>;
using namespace testing_support;
constexpr int kCycles = 25;

// Heap blocks nothing points to any more; 0 without a leak checker in the build.
int leakedBlocks() {
#if defined(VELKANO_LEAK_CHECK)
    return __lsan_do_recoverable_leak_check();
#else
    return 0;
#endif
}

FIO_TPEntry turnpoint(const std::string& name) {
    FIO_TPEntry entry = route_host::smallTurnpoint(name);
    entry.comment = "a comment long enough to live on the heap, not in the string";
    return entry;
}

// A whole write pass: two turnpoints and one route.
void writeTask(DriverLibrary& driver, const std::string& taskPath) {
    const auto route = route_host::routeOf(3, "a route name long enough to live on the heap",
                                           {{1, 6}, {2, 1}, {1, 5}});
    ASSERT_EQ(route_host::writePass(driver, taskPath, 2, 1,
                                    {turnpoint("Alpha"), turnpoint("Bravo")}, {route.get()}),
              5);
}

// Reads until -1 and returns the results.
std::vector<int32_t> readTask(DriverLibrary& driver, const std::string& taskPath) {
    CStdioFile task(taskPath, kHostRead);
    return route_host::readObjects(driver, task).results;
}

Bytes flightFile(int flights) {
    testenc::FlightFileFields file;
    file.version = 6;
    for (int i = 0; i < flights; ++i) {
        testenc::FlightFields flight;
        flight.fixes.resize(40);
        flight.pilot = "a pilot name long enough to live on the heap";
        file.flights.push_back(flight);
    }
    return testenc::encodeFlightFile(file);
}

// Converts until 0 and returns the results.
std::vector<int32_t> convertFlights(DriverLibrary& driver, const std::string& flightPath,
                                    const std::string& igcPath) {
    CStdioFile flights(flightPath, kHostRead);
    CStdioFile igc(igcPath, kHostWrite);
    std::vector<int32_t> results;
    for (int call = 0; call < 8; ++call) {
        results.push_back(driver.Flight2IGC(&flights, &igc));
        if (results.back() == 0) break;
    }
    return results;
}

class HygieneTest : public testing::Test {
protected:
    // Descriptors open before the test's first driver is loaded.
    void SetUp() override { baseline_ = openDescriptorCount(); }

    void expectReleased(const std::string& when) {
        EXPECT_EQ(openDescriptorCount(), baseline_) << when;
        EXPECT_EQ(leakedBlocks(), 0) << when;
    }

    std::string path(const std::string& name) const { return dir_.file(name); }

    ScratchDir dir_;
    int baseline_ = 0;
};

TEST_F(HygieneTest, RouteDriverCyclesReleaseFilesAndMemory) {
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        // Every other cycle leaves the exit to the unload.
        const bool exitFirst = cycle % 2 == 0;
        const std::string taskPath = path("task" + std::to_string(cycle % 3) + ".rtx");
        {
            DriverLibrary driver(driverPath("Velkano17Rte.drf"));
            ASSERT_NE(driver.InitDriver(), nullptr);
            writeTask(driver, taskPath);
            driver.ExitDriver();
            ASSERT_NE(driver.InitDriver(), nullptr);
            ASSERT_EQ(readTask(driver, taskPath), (std::vector<int32_t>{1, 1, 2, -1}));
            if (exitFirst) driver.ExitDriver();
        }
        expectReleased("cycle " + std::to_string(cycle));
    }
}

TEST_F(HygieneTest, FlightDriverCyclesReleaseFilesAndMemory) {
    writeFileBytes(path("day.flt"), flightFile(2));
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        {
            DriverLibrary driver(driverPath("Velkano17Flt.drf"));
            // The export creates the state itself when the host skipped FIO_InitDriver.
            if (cycle % 2 == 0) {
                ASSERT_NE(driver.InitDriver(), nullptr);
            }
            ASSERT_EQ(convertFlights(driver, path("day.flt"), path("day.igc")),
                      (std::vector<int32_t>{1, 1, 0}));
            if (cycle % 3 == 0) driver.ExitDriver();
        }
        expectReleased("cycle " + std::to_string(cycle));
    }
}

TEST_F(HygieneTest, UnloadInTheMiddleOfAReadPassClosesTheCompanion) {
    std::vector<testenc::TpRecordFields> records(3);
    for (int i = 0; i < 3; ++i) records[i].number = i + 1;
    writeFileBytes(path("task.top"), testenc::encodeTpFile(records));
    writeFileBytes(path("task.rtx"), testenc::encodeTaskFile({}));
    {
        DriverLibrary driver(driverPath("Velkano17Rte.drf"));
        ASSERT_NE(driver.InitDriver(), nullptr);
        CStdioFile task(path("task.rtx"), kHostRead);
        FIO_TPEntry entry;
        FIO_Route route;
        ASSERT_EQ(driver.ReadObject(&task, &entry, &route), 1);
        EXPECT_EQ(openDescriptorCount(), baseline_ + 2);  // the task file and the companion
        task.Close();
        driver.unload();
        expectReleased("after the unload");
    }
}

TEST_F(HygieneTest, UnloadInTheMiddleOfAWritePassClosesTheCompanionWithItsRecords) {
    const FIO_TPEntry alpha = turnpoint("Alpha");
    {
        DriverLibrary driver(driverPath("Velkano17Rte.drf"));
        ASSERT_NE(driver.InitDriver(), nullptr);
        CStdioFile task(path("task.rtx"), kHostWrite);
        ASSERT_EQ(route_host::writeHeader(driver, task, FIO_Header::kBegin, 2, 1), 1);
        FIO_TPEntry copy = alpha;
        ASSERT_EQ(driver.WriteTP(nullptr, &copy), 1);
        task.Close();
        driver.unload();
        expectReleased("after the unload");
    }
    // Closing flushed what was written before the unload.
    Bytes expected = testenc::encodeFileHeader(velkano::kTpFileMagic, {}, 2);
    const Bytes record = testenc::encodeTpRecord(testenc::tpFieldsFromEntry(alpha, 1));
    expected.insert(expected.end(), record.begin(), record.end());
    EXPECT_EQ(readFileBytes(path("task.top")), expected);
}

// A pass cut short by an exception: the host exits and unloads as after any other pass.
struct FailedPass {
    const char* name;
    const char* library;
    std::function<void(DriverLibrary&, const ScratchDir&)> run;
};

const FailedPass kFailedPasses[] = {
    {"malformed turnpoint record", "Velkano17Rte.drf",
     [](DriverLibrary& driver, const ScratchDir& dir) {
         testenc::TpRecordFields broken;
         broken.runwayBlockTag = 'x';
         broken.comment = "a comment long enough to live on the heap, not in the string";
         writeFileBytes(dir.file("t.top"), testenc::encodeTpFile({{}, broken}));
         writeFileBytes(dir.file("t.rtx"), testenc::encodeTaskFile({}));
         expectFioError([&] { readTask(driver, dir.file("t.rtx")); }, FIO_Error::kBadObject);
     }},
    {"malformed route after added points", "Velkano17Rte.drf",
     [](DriverLibrary& driver, const ScratchDir& dir) {
         testenc::RouteRecordFields route;
         route.listed = {{1, 0}, {2, 0}, {3, 0, 'x'}};
         writeFileBytes(dir.file("t.top"), testenc::encodeTpFile({}));
         writeFileBytes(dir.file("t.rtx"), testenc::encodeTaskFile({route}));
         expectFioError([&] { readTask(driver, dir.file("t.rtx")); }, FIO_Error::kBadObject);
     }},
    {"task count out of range", "Velkano17Rte.drf",
     [](DriverLibrary& driver, const ScratchDir& dir) {
         testenc::FileFrameFields frame;
         frame.count = velkano::kMaxRecordCount + 1;
         writeFileBytes(dir.file("t.top"), testenc::encodeTpFile({}));
         writeFileBytes(dir.file("t.rtx"), testenc::encodeTaskFile({}, frame));
         expectFioError([&] { readTask(driver, dir.file("t.rtx")); }, FIO_Error::kBadFile);
     }},
    {"missing companion", "Velkano17Rte.drf",
     [](DriverLibrary& driver, const ScratchDir& dir) {
         writeFileBytes(dir.file("alone.rtx"), testenc::encodeTaskFile({}));
         EXPECT_THROW(readTask(driver, dir.file("alone.rtx")), CFileException);
     }},
    {"route without points", "Velkano17Rte.drf",
     [](DriverLibrary& driver, const ScratchDir& dir) {
         CStdioFile task(dir.file("t.rtx"), kHostWrite);
         ASSERT_EQ(route_host::writeHeader(driver, task, FIO_Header::kBegin, 0, 1), 1);
         FIO_Route empty;
         EXPECT_THROW(driver.WriteRoute(&task, &empty), std::out_of_range);
     }},
    {"malformed flight", "Velkano17Flt.drf",
     [](DriverLibrary& driver, const ScratchDir& dir) {
         testenc::FlightFileFields file;
         testenc::FlightFields flight;
         flight.fixes.resize(300);
         flight.trailerPairTag2 = 'x';
         file.flights = {flight};
         writeFileBytes(dir.file("f.flt"), testenc::encodeFlightFile(file));
         expectFioError([&] { convertFlights(driver, dir.file("f.flt"), dir.file("f.igc")); },
                        FIO_Error::kBadObject);
     }},
};

TEST_F(HygieneTest, PassesCutShortByAnExceptionLeaveNothingBehind) {
    for (const FailedPass& pass : kFailedPasses) {
        for (const bool exitFirst : {true, false}) {
            {
                DriverLibrary driver(driverPath(pass.library));
                ASSERT_NE(driver.InitDriver(), nullptr);
                pass.run(driver, dir_);
                if (exitFirst) driver.ExitDriver();
            }
            expectReleased(std::string(pass.name) +
                           (exitFirst ? ", exit then unload" : ", unload only"));
        }
    }
}

// A count the file cannot back: the reader must stop at the first record (or sub-record)
// that is not there, so the pass costs about one Read per byte of the file, not one per
// announced item.
struct OverstatedCount {
    const char* name;
    const char* library;
    Bytes file;      // the task file or the flight file; the companion holds no turnpoints
    int expectedOk;  // results of 1 or 2 before the error
};

Bytes withTurnpoint(testenc::TpRecordFields record) {
    testenc::FlightFileFields file;
    testenc::FlightFields flight;
    flight.task.push_back({std::move(record)});
    file.flights = {flight};
    return testenc::encodeFlightFile(file);
}

std::vector<OverstatedCount> overstatedCounts() {
    testenc::FileFrameFields manyRoutes;
    manyRoutes.count = velkano::kMaxRecordCount;
    testenc::RouteRecordFields manyPoints;
    manyPoints.listed = {{1, 0}};
    manyPoints.listedCount = 0x7FFF;
    testenc::FlightFileFields manyFlights;
    manyFlights.flightCount = velkano::kMaxRecordCount;
    manyFlights.flights.resize(1);
    testenc::FlightFileFields manyFixes;
    manyFixes.flights.resize(1);
    manyFixes.flights[0].fixes.resize(2);
    manyFixes.flights[0].fixCount = 0x7FFF;
    testenc::TpRecordFields manyPairs;
    manyPairs.pointCount = 0x7FFF;
    testenc::TpRecordFields manyRunways;
    manyRunways.runwayCount = 0x7FFF;
    return {
        {"routes in the task header", "Velkano17Rte.drf",
         testenc::encodeTaskFile({testenc::RouteRecordFields{}}, manyRoutes), 1},
        {"listed points of a route", "Velkano17Rte.drf", testenc::encodeTaskFile({manyPoints}), 0},
        {"flights in the flight header", "Velkano17Flt.drf", testenc::encodeFlightFile(manyFlights),
         1},
        {"fixes of a flight", "Velkano17Flt.drf", testenc::encodeFlightFile(manyFixes), 0},
        {"coordinate pairs of a turnpoint", "Velkano17Flt.drf", withTurnpoint(manyPairs), 0},
        {"runways of a turnpoint", "Velkano17Flt.drf", withTurnpoint(manyRunways), 0},
    };
}

TEST_F(HygieneTest, CountsTheFileCannotBackEndInAnErrorAtOnce) {
    writeFileBytes(path("task.top"), testenc::encodeTpFile({}));
    for (const OverstatedCount& test : overstatedCounts()) {
        DriverLibrary driver(driverPath(test.library));
        ASSERT_NE(driver.InitDriver(), nullptr);
        MemFile file(test.file, path("task.rtx"));
        CStdioFile igc(path("out.igc"), kHostWrite);
        int ok = 0;
        try {
            for (int call = 0; call < 0x8000; ++call) {
                FIO_TPEntry entry;
                FIO_Route route;
                const int32_t result = test.library == std::string("Velkano17Rte.drf")
                                           ? driver.ReadObject(&file, &entry, &route)
                                           : driver.Flight2IGC(&file, &igc);
                if (result != 1 && result != 2) break;
                ++ok;
            }
            ADD_FAILURE() << test.name << ": no FIO_Error";
        } catch (const FIO_Error& error) {
            EXPECT_EQ(error.message, FIO_Error::kBadObject) << test.name;
        }
        EXPECT_EQ(ok, test.expectedOk) << test.name;
        EXPECT_LE(file.reads, file.size() + 64) << test.name;
        driver.ExitDriver();
    }
}

}  // namespace
