// Reading task files and their companions through FIO_ReadObject.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "route_host.h"
#include "velkano/fio_error.h"

namespace {

using namespace route_host;

struct SequenceCase {
    const char* what;
    Bytes companion;
    Bytes task;
    int calls;
    std::vector<int32_t> results;
    std::vector<int32_t> tpNumbers;
    std::vector<int32_t> routeIds;
};

TEST_F(RouteDriverTest, ReadObjectHandsOverTurnpointsThenRoutes) {
    testenc::FileFrameFields none;
    none.count = 0;
    testenc::FileFrameFields negative;
    negative.count = -1;
    testenc::FileFrameFields headerless;
    headerless.headerless = true;
    const SequenceCase cases[] = {
        // The trailers behind the last records are never read.
        {"two turnpoints, one route",
         concat({testenc::encodeTpFile({tpDesc(1), tpDesc(2)}), testenc::tpFileTrailer(2)}),
         concat({testenc::encodeTaskFile({routeDesc(5)}), testenc::taskFileTrailer(5)}),
         5,
         {1, 1, 2, -1, -1},
         {1, 2},
         {5}},
        {"no routes",
         testenc::encodeTpFile({tpDesc(4), tpDesc(9)}),
         testenc::encodeTaskFile({}),
         4,
         {1, 1, -1, -1},
         {4, 9},
         {}},
        {"companion announcing none",
         testenc::encodeTpFile({}, none),
         testenc::encodeTaskFile({routeDesc(5)}),
         3,
         {2, -1, -1},
         {},
         {5}},
        {"companion announcing -1",
         testenc::encodeTpFile({tpDesc(1)}, negative),
         testenc::encodeTaskFile({routeDesc(5), routeDesc(6)}),
         4,
         {2, 2, -1, -1},
         {},
         {5, 6}},
        {"zero-byte companion",
         {},
         testenc::encodeTaskFile({routeDesc(5)}),
         3,
         {2, -1, -1},
         {},
         {5}},
        {"headerless files",
         testenc::encodeTpFile({tpDesc(3), tpDesc(1)}, headerless),
         testenc::encodeTaskFile({routeDesc(8), routeDesc(-9)}, headerless),
         5,
         {1, 1, 2, 2, -1},
         {3, 1},
         {8, -9}},
        {"nothing at all",
         testenc::encodeTpFile({}),
         testenc::encodeTaskFile({}),
         2,
         {-1, -1},
         {},
         {}},
    };
    for (const auto& c : cases) {
        fio.ExitDriver();
        ASSERT_NE(fio.InitDriver(), nullptr);
        writeFileBytes(path("tasks.top"), c.companion);
        writeFileBytes(path("tasks.rtx"), c.task);
        const ReadPass pass = read(path("tasks.rtx"), c.calls);
        EXPECT_EQ(pass.results, c.results) << c.what;
        EXPECT_EQ(pass.tpNumbers(), c.tpNumbers) << c.what;
        EXPECT_EQ(pass.routeIds(), c.routeIds) << c.what;
    }
}

TEST_F(RouteDriverTest, ReadObjectFillsEntriesAndRoutes) {
    TpRecordFields airfield = tpDesc(7);
    airfield.kindByte = 12;
    airfield.name = "Airfield";
    airfield.icao = "EDXY";
    airfield.latitude = 47.5;
    airfield.longitude = 8.25;
    RouteRecordFields route = routeDesc(31, {{7, 0}, {2, 1}, {7, 0}});
    route.beforeStart = {2};
    route.afterFinish = {7};
    writeFileBytes(path("tasks.top"), testenc::encodeTpFile({airfield}));
    writeFileBytes(path("tasks.rtx"), testenc::encodeTaskFile({route}));

    const ReadPass pass = read(path("tasks.rtx"));
    ASSERT_EQ(pass.results, (std::vector<int32_t>{1, 2, -1}));
    const FIO_TPEntry& entry = pass.turnpoints[0];
    EXPECT_EQ(entry.name, "Airfield");
    EXPECT_EQ(entry.icaoCode, "EDXY");
    EXPECT_EQ(entry.kind, 256);
    EXPECT_EQ(entry.latitude, 47.5f);
    EXPECT_EQ(entry.longitude, 8.25f);
    const FIO_Route& back = *pass.routes[0];
    EXPECT_EQ(back.name, "Route 31");
    EXPECT_EQ(pointsOf(back), (Points{{2, 6}, {7, 4}, {2, 3}, {7, 7}, {7, 5}}));
}

TEST_F(RouteDriverTest, MalformedInputReachesTheHost) {
    RouteRecordFields broken = routeDesc(5);
    broken.listed[0].tag = 'k';
    writeFileBytes(path("tasks.top"), testenc::encodeTpFile({tpDesc(1)}));
    writeFileBytes(path("tasks.rtx"), testenc::encodeTaskFile({routeDesc(4), broken}));
    CStdioFile task(path("tasks.rtx"), kHostRead);
    const ReadPass before = readFrom(task, 2);
    EXPECT_EQ(before.results, (std::vector<int32_t>{1, 2}));
    FIO_TPEntry entry;
    FIO_Route route;
    expectFioError([&] { fio.ReadObject(&task, &entry, &route); }, FIO_Error::kBadObject);
    EXPECT_EQ(route.id, 5);  // read before the bad point tag
    writeFileBytes(path("big.top"), testenc::encodeTpFile({}, [] {
                       testenc::FileFrameFields frame;
                       frame.count = velkano::kMaxRecordCount + 1;
                       return frame;
                   }()));
    writeFileBytes(path("big.rtx"), testenc::encodeTaskFile({}));
    CStdioFile big(path("big.rtx"), kHostRead);
    expectFioError([&] { fio.ReadObject(&big, &entry, &route); }, FIO_Error::kBadFile);
}

TEST_F(RouteDriverTest, MissingCompanionFailsUntilItExists) {
    writeFileBytes(path("tasks.rtx"), testenc::encodeTaskFile({routeDesc(5)}));
    CStdioFile task(path("tasks.rtx"), kHostRead);
    FIO_TPEntry entry;
    FIO_Route route;
    EXPECT_THROW(fio.ReadObject(&task, &entry, &route), CFileException);
    writeFileBytes(path("tasks.top"), testenc::encodeTpFile({tpDesc(3)}));
    const ReadPass pass = readFrom(task);
    EXPECT_EQ(pass.results, (std::vector<int32_t>{1, 2, -1}));
}

TEST_F(RouteDriverTest, ExportsRefuseWithoutStateOrObjects) {
    writeFileBytes(path("tasks.rtx"), {});
    CStdioFile task(path("tasks.rtx"), kHostRead);
    FIO_TPEntry entry;
    FIO_Route route;
    route.addPoint(1, velkano::kRoleTurnpoint, -1);
    FIO_Header begin;
    begin.kind = FIO_Header::kBegin;
    EXPECT_EQ(fio.ReadObject(&task, nullptr, &route), -1);
    EXPECT_EQ(fio.ReadObject(nullptr, &entry, &route), -1);
    EXPECT_EQ(fio.WriteHeader(&task, nullptr), -1);
    EXPECT_EQ(fio.WriteRoute(&task, nullptr), -1);
    EXPECT_EQ(fio.WriteTP(nullptr, nullptr), -1);
    fio.ExitDriver();
    EXPECT_EQ(fio.ReadObject(&task, &entry, &route), -1);
    EXPECT_EQ(fio.WriteHeader(&task, &begin), -1);
    EXPECT_EQ(fio.WriteTP(nullptr, &entry), -1);
    EXPECT_EQ(fio.WriteRoute(&task, &route), -1);
    EXPECT_FALSE(std::filesystem::exists(path("tasks.top")));
}

TEST_F(RouteDriverTest, AnotherTaskFileBringsItsOwnTurnpoints) {
    writeFileBytes(path("a.top"), testenc::encodeTpFile({tpDesc(1), tpDesc(2)}));
    writeFileBytes(path("a.rtx"), testenc::encodeTaskFile({routeDesc(100)}));
    writeFileBytes(path("b.top"), testenc::encodeTpFile({tpDesc(7)}));
    writeFileBytes(path("b.rtx"), testenc::encodeTaskFile({routeDesc(200), routeDesc(201)}));

    const ReadPass a = read(path("a.rtx"));
    EXPECT_EQ(a.results, (std::vector<int32_t>{1, 1, 2, -1}));
    const int descriptors = testing_support::openDescriptorCount();
    // The same task file again: its turnpoints were handed over already.
    const ReadPass again = read(path("a.rtx"));
    EXPECT_EQ(again.results, (std::vector<int32_t>{2, -1}));
    const ReadPass b = read(path("b.rtx"));
    EXPECT_EQ(b.results, (std::vector<int32_t>{1, 2, 2, -1}));
    EXPECT_EQ(b.tpNumbers(), (std::vector<int32_t>{7}));
    EXPECT_EQ(b.routeIds(), (std::vector<int32_t>{200, 201}));
    EXPECT_EQ(testing_support::openDescriptorCount(), descriptors);
    const ReadPass aAfterB = read(path("a.rtx"));
    EXPECT_EQ(aAfterB.tpNumbers(), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(aAfterB.routeIds(), (std::vector<int32_t>{100}));
}

TEST_F(RouteDriverTest, WriteTpWithoutAWriteCompanionIsRefused) {
    // A partial read leaves turnpoints to come; writing still needs FIO_WriteHeader first.
    writeFileBytes(path("tasks.top"), testenc::encodeTpFile({tpDesc(1), tpDesc(2)}));
    writeFileBytes(path("tasks.rtx"), testenc::encodeTaskFile({}));
    EXPECT_EQ(read(path("tasks.rtx"), 1).results, (std::vector<int32_t>{1}));
    FIO_TPEntry entry;
    EXPECT_EQ(fio.WriteTP(nullptr, &entry), -1);
}

}  // namespace
