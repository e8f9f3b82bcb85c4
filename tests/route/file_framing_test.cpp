// The frame of the task and turnpoint files: headers, counts, headerless files, trailers
// and the count correction after a short write.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "byte_writer.h"
#include "fio_velkano17.h"
#include "host_test_support.h"
#include "mem_file.h"
#include "route_file_encoder.h"
#include "velkano/fio_error.h"

namespace {

using testenc::FileFrameFields;

FileFrameFields announcing(int count) {
    FileFrameFields frame;
    frame.count = count;
    return frame;
}

std::string errorOf(void (*read)(FIOVelkano17&, MemFile&), FIOVelkano17& state, MemFile& file) {
    try {
        read(state, file);
    } catch (const FIO_Error& error) {
        return error.message;
    }
    return "";
}

void readOneTp(FIOVelkano17& state, MemFile& file) {
    FIO_TPEntry entry;
    state.readTp(file, entry);
}

void readOneRoute(FIOVelkano17& state, MemFile& file) {
    FIO_Route route;
    state.readRoute(file, route);
}

struct CountCase {
    int count;
    std::string tpError;  // empty: accepted
    std::string taskError;
};

TEST(FileHeaderTest, CountLimitsOfEachFile) {
    const CountCase cases[] = {
        {0, "", ""},
        {-1, "", "bad file"},
        {-32768, "", "bad file"},
        {16384, "bad object", "bad object"},  // accepted; the missing first record fails
        {16385, "bad file", "bad file"},
        {32767, "bad file", "bad file"},
    };
    for (const auto& c : cases) {
        FIOVelkano17 state;
        state.tpTotal = state.taskTotal = 7;
        state.tpDone = state.taskDone = 3;
        MemFile tpFile(testenc::encodeTpFile({}, announcing(c.count)));
        MemFile taskFile(testenc::encodeTaskFile({}, announcing(c.count)));
        EXPECT_EQ(errorOf(readOneTp, state, tpFile), c.tpError) << c.count;
        EXPECT_EQ(errorOf(readOneRoute, state, taskFile), c.taskError) << c.count;
        // A refused count leaves the totals as they were.
        EXPECT_EQ(state.tpTotal, c.tpError == "bad file" ? 7 : c.count) << c.count;
        EXPECT_EQ(state.taskTotal, c.taskError == "bad file" ? 7 : c.count) << c.count;
        EXPECT_EQ(state.tpDone, c.tpError == "bad file" ? 3 : 0) << c.count;
        EXPECT_EQ(state.taskDone, c.taskError == "bad file" ? 3 : 0) << c.count;
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
        {"magic runs on", frame("Velkano TASK File2"), "bad file", 0},
        {"turnpoint magic", frame("Velkano TP File"), "bad file", 0},
        {"magic without terminator", frame(std::string(51, 'V')), "bad file", 0},
    };
    for (const auto& c : cases) {
        testenc::RouteRecordFields record;
        record.id = 41;
        record.listed = {{1, 0}};
        MemFile file(testenc::encodeTaskFile({record}, c.frame));
        FIOVelkano17 state;
        FIO_Route route;
        if (!c.error.empty()) {
            EXPECT_EQ(errorOf(readOneRoute, state, file), c.error) << c.what;
            continue;
        }
        ASSERT_TRUE(state.readRoute(file, route)) << c.what;
        EXPECT_EQ(route.id, 41) << c.what;
        EXPECT_EQ(file.GetPosition(), c.recordsStart + testenc::routeRecordSize(5, 1)) << c.what;
        EXPECT_EQ(state.taskTotal, 1) << c.what;
    }
}

TEST(FileHeaderTest, FilesShorterThanAHeaderReadAsNoRecordsOrFail) {
    const auto full = testenc::encodeTaskFile({testenc::RouteRecordFields{}});
    for (size_t length = 0; length <= testenc::kFileHeaderSize; ++length) {
        MemFile file(std::vector<uint8_t>(full.begin(), full.begin() + length));
        FIOVelkano17 state;
        FIO_Route route;
        bool read = false;
        try {
            read = state.readRoute(file, route);
        } catch (const FIO_Error&) {
        }
        EXPECT_FALSE(read) << length;
    }
}

TEST(FileHeaderTest, WritesTheHeaderOfEachFile) {
    MemFile tpFile;
    MemFile taskFile;
    FIOVelkano17 state;
    state.tpDone = state.taskDone = 9;
    ASSERT_TRUE(state.writeTpHeader(tpFile, 2));
    ASSERT_TRUE(state.writeTaskHeader(taskFile, 1));

    ByteWriter tpHeader;
    tpHeader.text("Velkano TP File", 51).u8(0x1A).u8(5).u8(0).u8(2).u8(0);
    ByteWriter taskHeader;
    taskHeader.text("Velkano TASK File", 51).u8(0x1A).u8(5).u8(0).u8(1).u8(0);
    EXPECT_EQ(tpFile.bytes(), tpHeader.bytes);
    EXPECT_EQ(taskFile.bytes(), taskHeader.bytes);
    EXPECT_EQ(state.tpTotal, 2);
    EXPECT_EQ(state.taskTotal, 1);
    EXPECT_EQ(state.tpDone, 0);
    EXPECT_EQ(state.taskDone, 0);
}

TEST(FileHeaderTest, CountsKeepTheirLow16Bits) {
    const std::pair<int32_t, int32_t> cases[] = {{70000, 4464}, {40000, -25536}, {-1, -1}};
    for (const auto& [count, total] : cases) {
        MemFile file;
        FIOVelkano17 state;
        ASSERT_TRUE(state.writeTaskHeader(file, count));
        EXPECT_EQ(state.taskTotal, total) << count;
        const auto& bytes = file.bytes();
        EXPECT_EQ(bytes[54] | bytes[55] << 8, total & 0xFFFF) << count;
    }
}

TEST(FileHeaderTest, HeaderWritersRefuseAwayFromTheStart) {
    MemFile file(std::vector<uint8_t>(10, 0xEE));
    file.Seek(4, CFile::begin);
    FIOVelkano17 state;
    state.tpTotal = state.taskTotal = 5;
    state.tpDone = state.taskDone = 2;
    EXPECT_FALSE(state.writeTpHeader(file, 1));
    EXPECT_FALSE(state.writeTaskHeader(file, 1));
    EXPECT_EQ(file.writes, 0);
    EXPECT_EQ(state.tpTotal, 5);
    EXPECT_EQ(state.taskDone, 2);
    EXPECT_FALSE(state.tpHeaderWritten);
    EXPECT_FALSE(state.taskHeaderWritten);
}

TEST(FileTrailerTest, WritesTheRunningMaxima) {
    MemFile tpFile;
    MemFile taskFile;
    FIOVelkano17 state;
    state.maxTpNumber = 3;
    state.maxRouteId = -2;
    EXPECT_TRUE(state.writeTpTrailer(tpFile));
    EXPECT_TRUE(state.writeTaskTrailer(taskFile));
    EXPECT_EQ(tpFile.bytes(), (std::vector<uint8_t>{3, 0, 0, 0, 9}));
    ByteWriter task;
    task.u8(0xFE).u8(0xFF).u8(0xFF).u8(0xFF).zeros(89);
    EXPECT_EQ(taskFile.bytes(), task.bytes);
}

FIO_Route* makeRoute(int32_t id) {
    auto* route = new FIO_Route;
    route->id = id;
    route->addPoint(1, 1, -1);
    route->addPoint(2, 1, -1);
    return route;
}

TEST(ShortWriteTest, TrailerCorrectsTheCountOfAShortTaskFile) {
    MemFile file;
    FIOVelkano17 state;
    ASSERT_TRUE(state.writeTaskHeader(file, 3));
    std::unique_ptr<FIO_Route> route(makeRoute(8));
    ASSERT_TRUE(state.writeRoute(file, *route));
    ASSERT_TRUE(state.writeTaskTrailer(file));

    const size_t recordSize = testenc::routeRecordSize(5, 0);
    ByteWriter expected;
    expected.raw(testenc::encodeFileHeader(testenc::kTaskFileMagic, {}, 1));
    expected.raw(testenc::encodeRouteRecord(testenc::routeFieldsFromRoute(*route)));
    expected.raw(testenc::taskFileTrailer(8));
    EXPECT_EQ(file.bytes(), expected.bytes);
    EXPECT_EQ(file.GetPosition(), 56 + recordSize + 93);
    EXPECT_EQ(state.taskTotal, 1);

    MemFile reread(file.bytes());
    FIOVelkano17 reader;
    FIO_Route back;
    EXPECT_TRUE(reader.readRoute(reread, back));
    EXPECT_FALSE(reader.readRoute(reread, back));
}

TEST(ShortWriteTest, TrailerCorrectsTheCountOfAShortTurnpointFile) {
    MemFile file;
    FIOVelkano17 state;
    state.maxTpNumber = 4;
    ASSERT_TRUE(state.writeTpHeader(file, 2));
    ASSERT_TRUE(state.writeTpTrailer(file));
    ByteWriter expected;
    expected.raw(testenc::encodeFileHeader(testenc::kTpFileMagic, {}, 0));
    expected.raw(testenc::tpFileTrailer(4));
    EXPECT_EQ(file.bytes(), expected.bytes);
}

TEST(ShortWriteTest, LeavesHeadersItDidNotWriteAlone) {
    // Once a header has been read, the counters say nothing about the file being written.
    MemFile taskOut;
    MemFile tpOut;
    FIOVelkano17 state;
    ASSERT_TRUE(state.writeTaskHeader(taskOut, 9));
    ASSERT_TRUE(state.writeTpHeader(tpOut, 9));
    MemFile taskIn(testenc::encodeTaskFile({}, announcing(5)));
    MemFile tpIn(testenc::encodeTpFile({}, announcing(5)));
    FIO_Route route;
    EXPECT_THROW(state.readRoute(taskIn, route), FIO_Error);  // the 5 records are missing
    FIO_TPEntry entry;
    EXPECT_THROW(state.readTp(tpIn, entry), FIO_Error);
    ASSERT_EQ(state.taskTotal, 5);
    ASSERT_EQ(state.tpTotal, 5);

    state.writeTaskTrailer(taskOut);
    state.writeTpTrailer(tpOut);
    EXPECT_EQ(taskOut.bytes().size(), 56u + 93u);
    EXPECT_EQ(tpOut.bytes().size(), 56u + 5u);
    EXPECT_EQ(taskOut.bytes()[54], 9);
    EXPECT_EQ(tpOut.bytes()[54], 9);
    EXPECT_EQ(state.taskTotal, 5);
}

TEST(ShortWriteTest, FullFilesAreNotTouchedAgain) {
    MemFile file;
    FIOVelkano17 state;
    ASSERT_TRUE(state.writeTaskHeader(file, 1));
    std::unique_ptr<FIO_Route> route(makeRoute(1));
    ASSERT_TRUE(state.writeRoute(file, *route));
    const int writesBefore = file.writes;
    ASSERT_TRUE(state.writeTaskTrailer(file));
    EXPECT_EQ(file.writes - writesBefore, 3);  // id, 13 zeros, 76 zeros
    EXPECT_EQ(file.bytes()[54], 1);
}

}  // namespace
