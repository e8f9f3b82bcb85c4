// The frame of the task and turnpoint files: headers, counts, headerless files, trailers
// and the count correction after a short write.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "byte_writer.h"
#include "route_operations.h"
#include "host_test_support.h"
#include "mem_file.h"
#include "route_file_encoder.h"
#include "route_host.h"
#include "velkano/fio_error.h"

namespace {

using testenc::FileFrameFields;

FileFrameFields announcing(int count) {
    FileFrameFields frame;
    frame.count = count;
    return frame;
}

std::string errorOf(const std::function<void()>& read) {
    try {
        read();
    } catch (const FIO_Error& error) {
        return error.message;
    }
    return "";
}

void readOneTp(velkano::RouteState& state, MemFile& file) {
    FIO_TPEntry entry;
    velkano::readNextTurnpoint(state, file, entry);
}

void readOneRoute(velkano::RouteState& state, MemFile& file) {
    FIO_Route route;
    velkano::readNextRoute(state, file, route);
}

struct CountCase {
    int count;
    std::string tpError;  // empty: accepted
    std::string taskError;
};

TEST(FileHeaderTest, CountLimitsOfEachFile) {
    const CountCase cases[] = {
        {0, "", ""},
        {-1, "", FIO_Error::kBadFile},
        {-32768, "", FIO_Error::kBadFile},
        // Accepted; the missing first record fails.
        {velkano::kMaxRecordCount, FIO_Error::kBadObject, FIO_Error::kBadObject},
        {velkano::kMaxRecordCount + 1, FIO_Error::kBadFile, FIO_Error::kBadFile},
        {32767, FIO_Error::kBadFile, FIO_Error::kBadFile},
    };
    for (const auto& c : cases) {
        velkano::RouteState state;
        state.turnpoints.total = state.routes.total = 7;
        state.turnpoints.done = state.routes.done = 3;
        MemFile tpFile(testenc::encodeTpFile({}, announcing(c.count)));
        MemFile taskFile(testenc::encodeTaskFile({}, announcing(c.count)));
        EXPECT_EQ(errorOf([&] { readOneTp(state, tpFile); }), c.tpError) << c.count;
        EXPECT_EQ(errorOf([&] { readOneRoute(state, taskFile); }), c.taskError) << c.count;
        // A refused count leaves the totals as they were.
        EXPECT_EQ(state.turnpoints.total, c.tpError == FIO_Error::kBadFile ? 7 : c.count)
            << c.count;
        EXPECT_EQ(state.routes.total, c.taskError == FIO_Error::kBadFile ? 7 : c.count) << c.count;
        EXPECT_EQ(state.turnpoints.done, c.tpError == FIO_Error::kBadFile ? 3 : 0) << c.count;
        EXPECT_EQ(state.routes.done, c.taskError == FIO_Error::kBadFile ? 3 : 0) << c.count;
        EXPECT_EQ(taskFile.GetPosition(), testenc::kFileHeaderSize) << c.count;
    }
}

TEST(FileHeaderTest, MagicDecidesBetweenHeaderAndHeaderless) {
    struct MagicCase {
        const char* what;
        FileFrameFields frame;
        std::string error;
        uint32_t recordsStart;
    };
    auto frame = [](std::string magicField, int marker = 26, int version = 5) {
        FileFrameFields desc;
        desc.magicField = std::move(magicField);
        desc.marker = marker;
        desc.version = version;
        return desc;
    };
    FileFrameFields headerless;
    headerless.headerless = true;
    const MagicCase cases[] = {
        {"standard header", {}, "", 56},
        {"bytes after the terminator", frame(std::string("Velkano TASK File\0junk", 22)), "", 56},
        {"old version and marker", frame("Velkano TASK File", 0, 3), "", 56},
        {"headerless", headerless, "", 2},
        // Without the magic the first two bytes, "Ve", are an oversized count.
        {"magic runs on", frame("Velkano TASK File2"), FIO_Error::kBadFile, 0},
        {"turnpoint magic", frame("Velkano TP File"), FIO_Error::kBadFile, 0},
        {"magic without terminator", frame(std::string(51, 'V')), FIO_Error::kBadFile, 0},
    };
    for (const auto& c : cases) {
        testenc::RouteRecordFields record;
        record.id = 41;
        record.listed = {{1, 0}};
        MemFile file(testenc::encodeTaskFile({record}, c.frame));
        velkano::RouteState state;
        FIO_Route route;
        if (!c.error.empty()) {
            EXPECT_EQ(errorOf([&] { readOneRoute(state, file); }), c.error) << c.what;
            continue;
        }
        ASSERT_TRUE(velkano::readNextRoute(state, file, route)) << c.what;
        EXPECT_EQ(route.id, 41) << c.what;
        EXPECT_EQ(file.GetPosition(), c.recordsStart + testenc::routeRecordSize(5, 1)) << c.what;
        EXPECT_EQ(state.routes.total, 1) << c.what;
    }
}

// What reading a whole file gives: the records read before it stopped, and its error.
struct Reading {
    std::vector<int32_t> records;  // numbers or ids
    std::string error;
};

Reading readTurnpoints(MemFile& file) {
    velkano::RouteState state;
    Reading reading;
    FIO_TPEntry entry;
    reading.error = errorOf([&] {
        while (velkano::readNextTurnpoint(state, file, entry))
            reading.records.push_back(entry.number);
    });
    return reading;
}

Reading readRoutes(MemFile& file) {
    velkano::RouteState state;
    Reading reading;
    reading.error = errorOf([&] {
        for (;;) {
            FIO_Route route;
            if (!velkano::readNextRoute(state, file, route)) break;
            reading.records.push_back(route.id);
        }
    });
    return reading;
}

// Every cut of either file that loses a record fails: "bad file" in the header, "bad object"
// in a record, after the records before the cut. A cut in the trailer loses nothing, as
// reading stops at the header's count; an empty turnpoint file holds no turnpoints. The
// host file leaves what it cannot fill unfilled, as some hosts' files do.
TEST(FileHeaderTest, EveryCutThatLosesARecordFails) {
    struct FileCase {
        std::vector<uint8_t> bytes;
        std::vector<size_t> recordEnds;
        std::vector<int32_t> records;
        Reading (*read)(MemFile&);
        std::string empty;  // the error of an empty file
    };
    testenc::TpRecordFields tp2;
    tp2.number = 2;
    tp2.runways = {{800, 90, 'G'}};
    testenc::RouteRecordFields route7;
    route7.id = 7;
    route7.listed = {{1, 0}, {2, 1}};
    testenc::RouteRecordFields route3;
    route3.id = 3;
    route3.listed = {{5, 0}};
    const size_t header = testenc::kFileHeaderSize;
    const size_t tpEnd = header + testenc::encodeTpRecord(testenc::TpRecordFields{}).size();
    const size_t routeEnd = header + testenc::routeRecordSize(5, 2);
    const FileCase cases[] = {
        {testenc::encodeTpFile({testenc::TpRecordFields{}, tp2}),
         {tpEnd, tpEnd + testenc::encodeTpRecord(tp2).size()},
         {1, 2},
         readTurnpoints,
         ""},
        {testenc::encodeTaskFile({route7, route3}),
         {routeEnd, routeEnd + testenc::routeRecordSize(5, 1)},
         {7, 3},
         readRoutes,
         FIO_Error::kBadFile},
    };
    for (const FileCase& c : cases) {
        for (size_t length = 0; length <= c.bytes.size(); ++length) {
            MemFile file = MemFile::leavingShortReadsUnfilled(
                std::vector<uint8_t>(c.bytes.begin(), c.bytes.begin() + length));
            const Reading reading = c.read(file);
            size_t whole = 0;
            while (whole < c.recordEnds.size() && c.recordEnds[whole] <= length) ++whole;
            const std::string error = length == 0                   ? c.empty
                                      : length < header             ? FIO_Error::kBadFile
                                      : whole < c.recordEnds.size() ? FIO_Error::kBadObject
                                                                    : "";
            EXPECT_EQ(reading.error, error) << length;
            const size_t kept = length == 0 ? 0 : whole;
            EXPECT_EQ(reading.records,
                      std::vector<int32_t>(c.records.begin(), c.records.begin() + kept))
                << length;
        }
    }
}

TEST(FileHeaderTest, WritesTheHeaderOfEachFile) {
    MemFile tpFile;
    MemFile taskFile;
    velkano::RouteState state;
    state.turnpoints.done = state.routes.done = 9;
    ASSERT_TRUE(velkano::startTpFile(state, tpFile, 2));
    ASSERT_TRUE(velkano::startTaskFile(state, taskFile, 1));

    ByteWriter tpHeader;
    tpHeader.text("Velkano TP File", 51).u8(0x1A).u8(5).u8(0).u8(2).u8(0);
    ByteWriter taskHeader;
    taskHeader.text("Velkano TASK File", 51).u8(0x1A).u8(5).u8(0).u8(1).u8(0);
    EXPECT_EQ(tpFile.bytes(), tpHeader.bytes);
    EXPECT_EQ(taskFile.bytes(), taskHeader.bytes);
    EXPECT_EQ(state.turnpoints.total, 2);
    EXPECT_EQ(state.routes.total, 1);
    EXPECT_EQ(state.turnpoints.done, 0);
    EXPECT_EQ(state.routes.done, 0);
}

TEST(FileHeaderTest, CountsKeepTheirLow16Bits) {
    const std::pair<int32_t, int32_t> cases[] = {{70000, 4464}, {40000, -25536}, {-1, -1}};
    for (const auto& [count, total] : cases) {
        MemFile file;
        velkano::RouteState state;
        ASSERT_TRUE(velkano::startTaskFile(state, file, count));
        EXPECT_EQ(state.routes.total, total) << count;
        const auto& bytes = file.bytes();
        EXPECT_EQ(bytes[54] | bytes[55] << 8, total & 0xFFFF) << count;
    }
}

TEST(FileHeaderTest, HeaderWritersRefuseAwayFromTheStart) {
    MemFile file(std::vector<uint8_t>(10, 0xEE));
    file.Seek(4, CFile::begin);
    velkano::RouteState state;
    state.turnpoints.total = state.routes.total = 5;
    state.turnpoints.done = state.routes.done = 2;
    EXPECT_FALSE(velkano::startTpFile(state, file, 1));
    EXPECT_FALSE(velkano::startTaskFile(state, file, 1));
    EXPECT_EQ(file.writes, 0);
    EXPECT_EQ(state.turnpoints.total, 5);
    EXPECT_EQ(state.routes.done, 2);
    EXPECT_FALSE(state.turnpoints.headerWritten);
    EXPECT_FALSE(state.routes.headerWritten);
}

TEST(FileTrailerTest, WritesTheRunningMaxima) {
    MemFile tpFile;
    MemFile taskFile;
    velkano::RouteState state;
    state.maxTpNumber = 3;
    state.maxRouteId = -2;
    velkano::finishTpFile(state, tpFile);
    velkano::finishTaskFile(state, taskFile);
    EXPECT_EQ(tpFile.bytes(), (std::vector<uint8_t>{3, 0, 0, 0, 9}));
    ByteWriter task;
    task.u8(0xFE).u8(0xFF).u8(0xFF).u8(0xFF).zeros(89);
    EXPECT_EQ(taskFile.bytes(), task.bytes);
}

// A task file announced for more routes than it got has its count corrected with the
// trailer; a full one is not touched again.
TEST(ShortWriteTest, TrailerLeavesTheCountOfEveryTaskFileRight) {
    for (const int32_t announced : {3, 1}) {
        SCOPED_TRACE(announced);
        MemFile file;
        velkano::RouteState state;
        ASSERT_TRUE(velkano::startTaskFile(state, file, announced));
        const auto route = route_host::routeOf(8, "", {{1, 1}, {2, 1}});
        ASSERT_TRUE(velkano::writeNextRoute(state, file, *route));
        const int writesBefore = file.writes;
        velkano::finishTaskFile(state, file);
        if (announced == 1) {
            EXPECT_EQ(file.writes - writesBefore, 3);  // id, 13 zeros, 76 zeros
        }

        ByteWriter expected;
        expected.raw(testenc::encodeFileHeader(velkano::kTaskFileMagic, {}, 1));
        expected.raw(testenc::encodeRouteRecord(testenc::routeFieldsFromRoute(*route)));
        expected.raw(testenc::taskFileTrailer(8));
        EXPECT_EQ(file.bytes(), expected.bytes);
        EXPECT_EQ(file.GetPosition(), expected.bytes.size());
        EXPECT_EQ(state.routes.total, 1);

        MemFile reread(file.bytes());
        velkano::RouteState reader;
        FIO_Route back;
        EXPECT_TRUE(velkano::readNextRoute(reader, reread, back));
        EXPECT_FALSE(velkano::readNextRoute(reader, reread, back));
    }
}

TEST(ShortWriteTest, TrailerCorrectsTheCountOfAShortTurnpointFile) {
    MemFile file;
    velkano::RouteState state;
    state.maxTpNumber = 4;
    ASSERT_TRUE(velkano::startTpFile(state, file, 2));
    velkano::finishTpFile(state, file);
    ByteWriter expected;
    expected.raw(testenc::encodeFileHeader(velkano::kTpFileMagic, {}, 0));
    expected.raw(testenc::tpFileTrailer(4));
    EXPECT_EQ(file.bytes(), expected.bytes);
}

TEST(ShortWriteTest, LeavesHeadersItDidNotWriteAlone) {
    // Once a header has been read, the counters say nothing about the file being written.
    MemFile taskOut;
    MemFile tpOut;
    velkano::RouteState state;
    ASSERT_TRUE(velkano::startTaskFile(state, taskOut, 9));
    ASSERT_TRUE(velkano::startTpFile(state, tpOut, 9));
    MemFile taskIn(testenc::encodeTaskFile({}, announcing(5)));
    MemFile tpIn(testenc::encodeTpFile({}, announcing(5)));
    FIO_Route route;
    EXPECT_THROW(velkano::readNextRoute(state, taskIn, route),
                 FIO_Error);  // the 5 records are missing
    FIO_TPEntry entry;
    EXPECT_THROW(velkano::readNextTurnpoint(state, tpIn, entry), FIO_Error);
    ASSERT_EQ(state.routes.total, 5);
    ASSERT_EQ(state.turnpoints.total, 5);

    velkano::finishTaskFile(state, taskOut);
    velkano::finishTpFile(state, tpOut);
    EXPECT_EQ(taskOut.bytes().size(), 56u + 93u);
    EXPECT_EQ(tpOut.bytes().size(), 56u + 5u);
    EXPECT_EQ(taskOut.bytes()[54], 9);
    EXPECT_EQ(tpOut.bytes()[54], 9);
    EXPECT_EQ(state.routes.total, 5);
}

}  // namespace
