// Writing task files and their companions through FIO_WriteHeader, FIO_WriteTP and
// FIO_WriteRoute.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "route_host.h"
#include "velkano/fio_error.h"

namespace {

using namespace route_host;

TEST_F(RouteDriverTest, WritePassProducesBothFilesByteForByte) {
    FIO_TPEntry first = smallTurnpoint("Alpha");
    FIO_TPEntry second = smallTurnpoint("Bravo");
    FIO_Route route;
    route.id = 12;
    route.name = "Out and back";
    route.addPoint(1, velkano::kRoleTurnpoint, -1);
    route.addPoint(2, velkano::kRoleFlaggedTurnpoint, -1);
    route.addPoint(1, velkano::kRoleTurnpoint, -1);
    CStdioFile task(path("tasks.rtx"), kHostWrite);
    EXPECT_EQ(header(task, FIO_Header::kBegin, 2, 1), 1);
    EXPECT_EQ(fio.WriteTP(nullptr, &first), 1);
    EXPECT_EQ(fio.WriteTP(nullptr, &second), 1);
    EXPECT_EQ(fio.WriteTP(nullptr, &first), -1);
    EXPECT_EQ(fio.WriteRoute(&task, &route), 1);
    EXPECT_EQ(fio.WriteRoute(&task, &route), -1);
    EXPECT_EQ(header(task, FIO_Header::kEnd), 1);
    task.Close();

    // The companion is complete at the end of the pass, before the driver closes it.
    EXPECT_EQ(readFileBytes(path("tasks.top")),
              concat({headerOf(velkano::kTpFileMagic, 2), tpRecordOf(first, 1),
                      tpRecordOf(second, 2), testenc::tpFileTrailer(2)}));
    EXPECT_EQ(readFileBytes(path("tasks.rtx")),
              concat({headerOf(velkano::kTaskFileMagic, 1),
                      testenc::encodeRouteRecord(testenc::routeFieldsFromRoute(route)),
                      testenc::taskFileTrailer(12)}));
}

TEST_F(RouteDriverTest, HeaderKindsAndPositions) {
    writeFileBytes(path("tasks.top"), Bytes(300, 0x77));
    {
        CStdioFile task(path("tasks.rtx"), kHostWrite);
        EXPECT_EQ(header(task, 7, 5, 5), 1);
        task.Close();
    }
    // Any kind creates (empties) the companion; kind 7 writes nothing else.
    EXPECT_TRUE(readFileBytes(path("tasks.top")).empty());
    EXPECT_TRUE(readFileBytes(path("tasks.rtx")).empty());
    fio.ExitDriver();

    ASSERT_NE(fio.InitDriver(), nullptr);
    {
        CStdioFile task(path("tasks.rtx"), kHostWrite);
        const uint8_t junk[3] = {1, 2, 3};
        task.Write(junk, 3);
        EXPECT_EQ(header(task, FIO_Header::kBegin, 1, 1), -1);
        task.Close();
    }
    fio.ExitDriver();
    EXPECT_EQ(readFileBytes(path("tasks.top")), headerOf(velkano::kTpFileMagic, 1));
    EXPECT_EQ(readFileBytes(path("tasks.rtx")), (Bytes{1, 2, 3}));

    ASSERT_NE(fio.InitDriver(), nullptr);
    {
        CStdioFile task(path("tasks.rtx"), kHostWrite);
        EXPECT_EQ(header(task, FIO_Header::kBegin), 1);
        EXPECT_EQ(header(task, FIO_Header::kEnd), 1);
        EXPECT_EQ(header(task, FIO_Header::kEnd), 1);
        task.Close();
    }
    EXPECT_EQ(readFileBytes(path("tasks.top")),
              concat({headerOf(velkano::kTpFileMagic, 0), testenc::tpFileTrailer(0),
                      testenc::tpFileTrailer(0)}));
    EXPECT_EQ(readFileBytes(path("tasks.rtx")),
              concat({headerOf(velkano::kTaskFileMagic, 0), testenc::taskFileTrailer(0),
                      testenc::taskFileTrailer(0)}));
}

TEST_F(RouteDriverTest, WritesBeforeAHeaderAreRefused) {
    FIO_TPEntry entry = smallTurnpoint("Early");
    FIO_Route route;
    route.addPoint(1, velkano::kRoleTurnpoint, -1);
    CStdioFile task(path("tasks.rtx"), kHostWrite);
    EXPECT_EQ(fio.WriteTP(nullptr, &entry), -1);
    EXPECT_EQ(fio.WriteRoute(&task, &route), -1);
    EXPECT_EQ(task.GetPosition(), 0u);
    EXPECT_FALSE(std::filesystem::exists(path("tasks.top")));
}

TEST_F(RouteDriverTest, SecondWritePassOfTheSameFileIsRefused) {
    for (int pass = 0; pass < 2; ++pass) {
        CStdioFile task(path("tasks.rtx"), kHostWrite);
        EXPECT_EQ(header(task, FIO_Header::kBegin, 0, 0), pass == 0 ? 1 : -1) << pass;
    }
}

TEST_F(RouteDriverTest, AnotherTaskFileGetsItsOwnCompanion) {
    FIO_TPEntry alpha = smallTurnpoint("Alpha");
    FIO_TPEntry bravo = smallTurnpoint("Bravo");
    FIO_Route route;
    route.id = 3;
    route.addPoint(1, velkano::kRoleTurnpoint, -1);
    EXPECT_EQ(writePass(fio, path("a.rtx"), 1, 1, {alpha}, {&route}), 4);
    const Bytes aCompanion = readFileBytes(path("a.top"));
    route.id = 4;
    EXPECT_EQ(writePass(fio, path("b.rtx"), 2, 1, {bravo, alpha}, {&route}), 5);
    // The first companion was closed and left as it was.
    EXPECT_EQ(readFileBytes(path("a.top")), aCompanion);
    fio.ExitDriver();
    ASSERT_NE(fio.InitDriver(), nullptr);
    const ReadPass a = read(path("a.rtx"));
    const ReadPass b = read(path("b.rtx"));
    EXPECT_EQ(a.results, (std::vector<int32_t>{1, 2, -1}));
    EXPECT_EQ(b.results, (std::vector<int32_t>{1, 1, 2, -1}));
    ASSERT_EQ(b.turnpoints.size(), 2u);
    EXPECT_EQ(a.turnpoints[0].name, "Alpha");
    EXPECT_EQ(b.turnpoints[0].name, "Bravo");
    EXPECT_EQ(b.routeIds(), (std::vector<int32_t>{4}));
    EXPECT_EQ(a.routeIds(), (std::vector<int32_t>{3}));
}

TEST_F(RouteDriverTest, RouteWithoutPointsLeavesTheTaskFileReadable) {
    FIO_Route empty;
    empty.id = 99;
    FIO_Route route;
    route.id = 5;
    route.addPoint(1, velkano::kRoleTurnpoint, -1);
    route.addPoint(1, velkano::kRoleTurnpoint, -1);
    writeFileBytes(path("tasks.top"), {});
    {
        CStdioFile task(path("tasks.rtx"), kHostWrite);
        EXPECT_EQ(header(task, FIO_Header::kBegin, 0, 2), 1);
        const uint32_t before = task.GetPosition();
        try {
            fio.WriteRoute(&task, &empty);
            ADD_FAILURE() << "no error";
        } catch (const std::out_of_range& error) {
            EXPECT_STREQ(error.what(), "invalid vector<T> subscript");
        }
        EXPECT_EQ(task.GetPosition(), before);
        EXPECT_EQ(fio.WriteRoute(&task, &route), 1);
        route.id = 6;
        EXPECT_EQ(fio.WriteRoute(&task, &route), 1);
        EXPECT_EQ(fio.WriteRoute(&task, &route), -1);
        EXPECT_EQ(header(task, FIO_Header::kEnd), 1);
    }
    // The refused route counted for neither the routes written nor the trailer's highest id.
    const Bytes task = readFileBytes(path("tasks.rtx"));
    EXPECT_EQ(Bytes(task.end() - 93, task.end()), testenc::taskFileTrailer(6));
    fio.ExitDriver();
    ASSERT_NE(fio.InitDriver(), nullptr);
    EXPECT_EQ(read(path("tasks.rtx")).routeIds(), (std::vector<int32_t>{5, 6}));
}

TEST_F(RouteDriverTest, ShortWritePassReadsBackWhatWasWritten) {
    FIO_TPEntry entry = smallTurnpoint("Only");
    FIO_Route route;
    route.id = 21;
    route.addPoint(1, velkano::kRoleTurnpoint, -1);
    EXPECT_EQ(writePass(fio, path("tasks.rtx"), 3, 2, {entry}, {&route}), 4);
    EXPECT_EQ(readFileBytes(path("tasks.top")),
              concat({headerOf(velkano::kTpFileMagic, 1), tpRecordOf(entry, 1),
                      testenc::tpFileTrailer(1)}));
    EXPECT_EQ(readFileBytes(path("tasks.rtx")),
              concat({headerOf(velkano::kTaskFileMagic, 1),
                      testenc::encodeRouteRecord(testenc::routeFieldsFromRoute(route)),
                      testenc::taskFileTrailer(21)}));
    fio.ExitDriver();
    ASSERT_NE(fio.InitDriver(), nullptr);
    EXPECT_EQ(read(path("tasks.rtx")).results, (std::vector<int32_t>{1, 2, -1}));
}

TEST_F(RouteDriverTest, CompanionThatCannotBeCreatedIsRetried) {
    std::filesystem::create_directory(path("tasks.top"));
    CStdioFile task(path("tasks.rtx"), kHostWrite);
    EXPECT_THROW(header(task, FIO_Header::kBegin, 0, 0), CFileException);
    EXPECT_EQ(task.GetPosition(), 0u);
    std::filesystem::remove(path("tasks.top"));
    EXPECT_EQ(header(task, FIO_Header::kBegin, 0, 0), 1);
    EXPECT_EQ(header(task, FIO_Header::kEnd), 1);
}

}  // namespace
