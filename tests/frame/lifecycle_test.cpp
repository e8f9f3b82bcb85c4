// Loading, initialising and unloading the drivers as a host does.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <utility>

#include "driver_checks.h"
#include "byte_writer.h"
#include "host/driver_library.h"
#include "flight_state.h"
#include "host_test_support.h"
#include "route_host.h"
#include "route_state.h"
#include "velkano/linked_drivers.h"

namespace {

using testing_support::driverPath;
using testing_support::openDescriptorCount;
using testing_support::ScratchDir;

const char* const kLibraries[] = {"Velkano17Rte.drf", "Velkano17Flt.drf"};

const std::set<std::string> kExportNames = {
    "FIO_DriverInfo",       "FIO_IsFileOfMyType",  "FIO_GetExtensions", "FIO_TranslateFilename",
    "FIO_ReadObject",       "FIO_InitDriver",      "FIO_ExitDriver",    "FIO_WriteTP",
    "FIO_WriteHeader",      "FIO_ReadFDEntry",     "FIO_Flight2IGC",    "FIO_IGC2Flight",
    "FIO_WriteDeclaration", "FIO_ReadDeclaration", "FIO_WriteRoute"};

// Names of the defined dynamic symbols of a shared object, as the system's nm lists them.
std::set<std::string> definedDynamicSymbols(const std::string& path) {
    std::set<std::string> names;
    const std::string command = "nm -D --defined-only '" + path + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return names;
    char line[512];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        const auto space = text.find_last_of(' ');
        const std::string name = space == std::string::npos ? text : text.substr(space + 1);
        // Symbols the toolchain itself places in every shared object are not ours.
        if (name.empty() || name.rfind("_init", 0) == 0 || name.rfind("_fini", 0) == 0 ||
            name.rfind("__", 0) == 0 || name == "_edata" || name == "_end") {
            continue;
        }
        names.insert(name);
    }
    pclose(pipe);
    return names;
}

TEST(ExportTableTest, ExportsTheFifteenNamesAndNothingElse) {
#if defined(_WIN32)
    GTEST_SKIP() << "ELF symbols; the PE export table is checked by test_windows";
#endif
    for (const char* library : kLibraries) {
        const auto names = definedDynamicSymbols(driverPath(library));
        EXPECT_EQ(names, kExportNames) << library;
    }
}

TEST(ExportTableTest, EveryNameResolvesByLookup) {
    for (const char* library : kLibraries) {
        DriverLibrary driver(driverPath(library));
        for (const auto& name : kExportNames) {
            EXPECT_NE(driver.symbol(name.c_str()), nullptr) << library << " " << name;
        }
    }
}

TEST(UnsupportedEntryTest, ReturnsMinusOneWhateverTheArguments) {
    DriverLibrary route(driverPath("Velkano17Rte.drf"));
    DriverLibrary flight(driverPath("Velkano17Flt.drf"));
    for (DriverLibrary* driver : {&route, &flight}) {
        EXPECT_EQ(driver->ReadFDEntry(nullptr, nullptr, nullptr, nullptr), -1);
        EXPECT_EQ(driver->IGC2Flight(nullptr, nullptr, nullptr, nullptr), -1);
        EXPECT_EQ(driver->WriteDeclaration(nullptr, nullptr, nullptr, nullptr), -1);
        EXPECT_EQ(driver->ReadDeclaration(nullptr, nullptr, nullptr, nullptr), -1);
    }
    EXPECT_EQ(route.Flight2IGC(nullptr, nullptr), -1);
    EXPECT_EQ(flight.ReadObject(nullptr, nullptr, nullptr), -1);
    EXPECT_EQ(flight.WriteTP(nullptr, nullptr), -1);
    EXPECT_EQ(flight.WriteHeader(nullptr, nullptr), -1);
    EXPECT_EQ(flight.WriteRoute(nullptr, nullptr), -1);
    // Even with a state, the entries a driver does not implement stay refused.
    ASSERT_NE(flight.InitDriver(), nullptr);
    EXPECT_EQ(flight.ReadObject(nullptr, nullptr, nullptr), -1);
    flight.ExitDriver();
}

// Each library's handle is its own state; every counter of a fresh one reads zero.
TEST(InitDriverTest, ReturnsAFreshStateWithEveryCounterZero) {
    DriverLibrary route(driverPath("Velkano17Rte.drf"));
    auto* routeState = static_cast<velkano::RouteState*>(route.InitDriver());
    ASSERT_NE(routeState, nullptr);
    for (int32_t counter :
         {routeState->turnpoints.total, routeState->turnpoints.done, routeState->routes.total,
          routeState->routes.done, routeState->maxTpNumber, routeState->maxRouteId}) {
        EXPECT_EQ(counter, 0);
    }
    EXPECT_EQ(routeState->readCompanion, nullptr);
    EXPECT_EQ(routeState->writeCompanion, nullptr);

    DriverLibrary flight(driverPath("Velkano17Flt.drf"));
    auto* flightState = static_cast<velkano::FlightState*>(flight.InitDriver());
    ASSERT_NE(flightState, nullptr);
    for (int32_t counter :
         {flightState->flights.total, flightState->flights.done, flightState->version}) {
        EXPECT_EQ(counter, 0);
    }
    for (DriverLibrary* driver : {&route, &flight}) {
        driver->ExitDriver();
        driver->ExitDriver();  // a second exit does nothing
        driver->ExitDriver();
    }
}

TEST(InitDriverTest, ExitWithoutInitDoesNothing) {
    for (const char* library : kLibraries) {
        DriverLibrary driver(driverPath(library));
        driver.ExitDriver();
        EXPECT_NE(driver.InitDriver(), nullptr);
        driver.ExitDriver();
    }
}

// A task file and companion that hold no records: reading them opens the companion and
// keeps it open until the state goes.
class CompanionLifetimeTest : public testing::Test {
protected:
    void SetUp() override {
        ByteWriter top;
        top.text(velkano::kTpFileMagic, velkano::kMagicWidth).u8(26).i16(5).i16(0);
        testing_support::writeFileBytes(dir_.file("tasks.top"), top.bytes);
        ByteWriter task;
        task.text(velkano::kTaskFileMagic, velkano::kMagicWidth).u8(26).i16(5).i16(0);
        testing_support::writeFileBytes(dir_.file("tasks.rtx"), task.bytes);
    }

    // Runs one FIO_ReadObject on the task file, then closes the task file: afterwards only
    // the driver's companion file is open.
    void readOnce(DriverLibrary& driver) {
        CStdioFile taskFile(dir_.file("tasks.rtx"), testing_support::kHostRead);
        FIO_TPEntry entry;
        FIO_Route route;
        driver.ReadObject(&taskFile, &entry, &route);
    }

    ScratchDir dir_;
};

// Whatever ends the state, the companion file it held is closed: FIO_ExitDriver, a second
// FIO_InitDriver (whose state starts without one) or an unload without FIO_ExitDriver.
TEST_F(CompanionLifetimeTest, EndingTheStateClosesTheCompanionFile) {
    const std::pair<const char*, void (*)(DriverLibrary&)> endings[] = {
        {"exit", [](DriverLibrary& driver) { driver.ExitDriver(); }},
        {"second init",
         [](DriverLibrary& driver) {
             auto* second = static_cast<velkano::RouteState*>(driver.InitDriver());
             ASSERT_NE(second, nullptr);
             EXPECT_EQ(second->readCompanion, nullptr);
         }},
        {"unload", [](DriverLibrary& driver) { driver.unload(); }},
    };
    for (const auto& [what, end] : endings) {
        SCOPED_TRACE(what);
        const int before = openDescriptorCount();
        DriverLibrary driver(driverPath("Velkano17Rte.drf"));
        ASSERT_NE(driver.InitDriver(), nullptr);
        readOnce(driver);
        ASSERT_EQ(openDescriptorCount(), before + 1);
        end(driver);
        EXPECT_EQ(openDescriptorCount(), before);
    }
    // Loading again after the unload starts without a state.
    DriverLibrary again(driverPath("Velkano17Rte.drf"));
    EXPECT_EQ(again.WriteTP(nullptr, nullptr), -1);
}

TEST_F(CompanionLifetimeTest, MalformedInputThrowsFioErrorAcrossTheLibraryBoundary) {
    ByteWriter task;
    task.text(velkano::kTaskFileMagic, velkano::kMagicWidth)
        .u8(26)
        .i16(5)
        .i16(velkano::kMaxRecordCount + 1);
    testing_support::writeFileBytes(dir_.file("tasks.rtx"), task.bytes);
    DriverLibrary driver(driverPath("Velkano17Rte.drf"));
    ASSERT_NE(driver.InitDriver(), nullptr);
    CStdioFile taskFile(dir_.file("tasks.rtx"), testing_support::kHostRead);
    FIO_TPEntry entry;
    FIO_Route route;
    testing_support::expectFioError([&] { driver.ReadObject(&taskFile, &entry, &route); },
                                    FIO_Error::kBadFile);
    driver.ExitDriver();
}

TEST_F(CompanionLifetimeTest, MissingCompanionThrowsTheFileExceptionAndRetries) {
    std::remove(dir_.file("tasks.top").c_str());
    DriverLibrary driver(driverPath("Velkano17Rte.drf"));
    auto* state = static_cast<velkano::RouteState*>(driver.InitDriver());
    ASSERT_NE(state, nullptr);
    CStdioFile taskFile(dir_.file("tasks.rtx"), testing_support::kHostRead);
    FIO_TPEntry entry;
    FIO_Route route;
    try {
        driver.ReadObject(&taskFile, &entry, &route);
        FAIL() << "no exception";
    } catch (const CFileException& error) {
        EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
        EXPECT_EQ(error.m_strFileName, dir_.file("tasks.top"));
    }
    EXPECT_EQ(state->readCompanion, nullptr);
    driver.ExitDriver();
}

// Converts every flight of a flight file into one IGC file.
template <typename Driver>
std::vector<uint8_t> allFlightsAsIgc(const Driver& driver, const std::string& flights,
                                     const std::string& igc) {
    {
        CStdioFile in(flights, testing_support::kHostRead);
        CStdioFile out(igc, testing_support::kHostWrite);
        while (driver.Flight2IGC(&in, &out) == 1) {
        }
        out.Close();
    }
    return testing_support::readFileBytes(igc);
}

// Both drivers linked into this program beside their loaded .drf files: each linked driver
// answers, reads, writes and converts as its library does, and keeps a state of its own.
TEST(LinkedDriversTest, BothWorkInOneProcessAsTheLoadedLibrariesDo) {
    using namespace route_host;
    const FIO_ExportTable& route = velkano::linkedRouteDriver();
    const FIO_ExportTable& flight = velkano::linkedFlightDriver();
    DriverLibrary loadedRoute(driverPath("Velkano17Rte.drf"));
    DriverLibrary loadedFlight(driverPath("Velkano17Flt.drf"));
    const auto info = [](auto& driver) {
        std::vector<uint8_t> record(kDriverInfoSize);
        EXPECT_EQ(driver.DriverInfo(record.data()), 1);
        return record;
    };
    EXPECT_EQ(info(route), info(loadedRoute));
    EXPECT_EQ(info(flight), info(loadedFlight));
    EXPECT_NE(info(route), info(flight));

    const std::string examples = std::string(VELKANO_SOURCE_DIR) + "/examples/";
    ScratchDir dir;
    ASSERT_NE(route.InitDriver(), nullptr);
    ASSERT_NE(loadedRoute.InitDriver(), nullptr);
    // The linked route driver opens the companion file, then the flight driver converts and
    // exits: the route driver reads on where it stopped.
    CStdioFile task(examples + "club_tasks.rtx", testing_support::kHostRead);
    ReadPass linked = readObjects(route, task, 1);
    const auto igc = allFlightsAsIgc(flight, examples + "club_day.flt", dir.file("linked.igc"));
    flight.ExitDriver();
    EXPECT_FALSE(igc.empty());
    EXPECT_EQ(igc,
              allFlightsAsIgc(loadedFlight, examples + "club_day.flt", dir.file("loaded.igc")));
    ReadPass rest = readObjects(route, task);
    linked.results.insert(linked.results.end(), rest.results.begin(), rest.results.end());
    linked.turnpoints.insert(linked.turnpoints.end(), rest.turnpoints.begin(),
                             rest.turnpoints.end());

    CStdioFile loadedTask(examples + "club_tasks.rtx", testing_support::kHostRead);
    const ReadPass loaded = readObjects(loadedRoute, loadedTask);
    EXPECT_EQ(linked.results, loaded.results);
    ASSERT_EQ(linked.turnpoints.size(), loaded.turnpoints.size());
    for (size_t i = 0; i < loaded.turnpoints.size(); ++i) {
        EXPECT_EQ(entryMembers(linked.turnpoints[i]), entryMembers(loaded.turnpoints[i])) << i;
    }
    ASSERT_EQ(rest.routes.size(), loaded.routes.size());
    std::vector<FIO_Route*> routes;
    for (size_t i = 0; i < loaded.routes.size(); ++i) {
        EXPECT_EQ(rest.routes[i]->name, loaded.routes[i]->name);
        EXPECT_EQ(pointsOf(*rest.routes[i]), pointsOf(*loaded.routes[i]));
        routes.push_back(rest.routes[i].get());
    }

    // Written back by each, the files are the same bytes.
    const auto tps = static_cast<int32_t>(loaded.turnpoints.size());
    const auto count = static_cast<int32_t>(routes.size());
    EXPECT_EQ(writePass(route, dir.file("linked.rtx"), tps, count, linked.turnpoints, routes),
              tps + count + 2);
    EXPECT_EQ(writePass(loadedRoute, dir.file("loaded.rtx"), tps, count, loaded.turnpoints, routes),
              tps + count + 2);
    route.ExitDriver();
    loadedRoute.ExitDriver();
    for (const char* extension : {".rtx", ".top"}) {
        EXPECT_EQ(readFileBytes(dir.file(std::string("linked") + extension)),
                  readFileBytes(dir.file(std::string("loaded") + extension)))
            << extension;
    }
}

}  // namespace
