#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "byte_writer.h"
#include "mem_file.h"
#include "record_io.h"
#include "velkano/fio_error.h"

namespace {

using namespace velkano;
using Bytes = std::vector<uint8_t>;

static_assert(!std::is_polymorphic_v<FIO_Error>, "the host copies FIO_Error as a plain class");

TEST(FioError, ConstructorTakesCodeMessageParamsAndKeepsMemberOrder) {
    const FIO_Error error(-7, "text", 11, 13);
    EXPECT_EQ(error.code, -7);
    EXPECT_EQ(error.message, "text");
    EXPECT_EQ(error.param1, 11);
    EXPECT_EQ(error.param2, 13);
    const auto at = [&](const void* member) { return static_cast<const char*>(member); };
    EXPECT_LT(at(&error.message), at(&error.param1));
    EXPECT_LT(at(&error.param1), at(&error.code));
    EXPECT_LT(at(&error.code), at(&error.param2));
}

TEST(FioError, RaisedByValueWithFixedTexts) {
    const std::pair<void (*)(), const char*> raisers[] = {{throwBadObject, "bad object"},
                                                          {throwBadFile, "bad file"}};
    for (const auto& [raise, text] : raisers) {
        try {
            raise();
            ADD_FAILURE() << text << " not thrown";
        } catch (FIO_Error error) {
            EXPECT_EQ(error.message, text);
            EXPECT_EQ(error.code, -2);
            EXPECT_EQ(error.param1, 0);
            EXPECT_EQ(error.param2, 0);
        }
    }
}

struct ReadCase {
    Bytes bytes;
    std::function<int64_t(CFile&)> read;
    int64_t expected;
    uint32_t width;
};

TEST(RecordIo, ReadsEachFieldWithOneReadOfItsWidth) {
    const ReadCase cases[] = {
        {{0x7F}, readByte, 127, 1},
        {{0x80}, readByte, -128, 1},
        {{0xFF}, readByte, -1, 1},
        {{0xFF, 0xFF}, readInt16, -1, 2},
        {{0x00, 0x80}, readInt16, -32768, 2},
        {{0x34, 0x12}, readInt16, 0x1234, 2},
        {{0x78, 0x56, 0x34, 0x12}, readInt32, 0x12345678, 4},
        {{0x00, 0x00, 0x00, 0x80}, readInt32, INT32_MIN, 4},
    };
    for (const ReadCase& c : cases) {
        Bytes bytes = c.bytes;
        if (bytes.size() == c.width) bytes.push_back(0xAB);  // the next field must stay unread
        MemFile file(bytes);
        EXPECT_EQ(c.read(file), c.expected);
        EXPECT_EQ(file.reads, 1);
        EXPECT_EQ(file.GetPosition(), c.width);
        // A field the file cannot fill is a cut record, whatever the host left in the rest.
        MemFile cut = MemFile::leavingShortReadsUnfilled(Bytes(c.bytes.begin(), c.bytes.end() - 1));
        EXPECT_THROW(c.read(cut), FIO_Error);
    }
}

struct WriteCase {
    std::function<void(CFile&)> write;
    Bytes expected;
};

TEST(RecordIo, WritesEachFieldWithOneWriteOfItsWidth) {
    const WriteCase cases[] = {
        {[](CFile& f) { writeByte(f, 257); }, {0x01}},
        {[](CFile& f) { writeByte(f, -1); }, {0xFF}},
        {[](CFile& f) { writeInt16(f, 70000); }, {0x70, 0x11}},
        {[](CFile& f) { writeInt16(f, -2); }, {0xFE, 0xFF}},
        {[](CFile& f) { writeInt32(f, -2); }, {0xFE, 0xFF, 0xFF, 0xFF}},
        {[](CFile& f) { writeReal48(f, 8.25f); }, {0x84, 0, 0, 0, 0, 0x04}},
        {[](CFile& f) { writeText(f, "", 4); }, {0, 0, 0, 0}},
        {[](CFile& f) { writeText(f, "ab", 4); }, {'a', 'b', 0, 0}},
        {[](CFile& f) { writeText(f, "abc", 4); }, {'a', 'b', 'c', 0}},
        {[](CFile& f) { writeText(f, "abcdef", 4); }, {'a', 'b', 'c', 0}},
        {[](CFile& f) { writeText(f, std::string(35, 'x'), 30); },
         ByteWriter().text(std::string(29, 'x'), 30).bytes},
    };
    for (const WriteCase& c : cases) {
        MemFile file;
        c.write(file);
        EXPECT_EQ(file.bytes(), c.expected);
        EXPECT_EQ(file.writes, 1);
    }
}

TEST(RecordIo, ReadTextStopsAtZeroOrWidthAndConsumesTheWholeField) {
    MemFile full(ByteWriter().text("ABCDEFGHIJKLMNOPQRSTUVWXYZ", 26).bytes);
    EXPECT_EQ(readText(full, 20), "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(full.GetPosition(), 20u);
    EXPECT_EQ(full.reads, 1);

    MemFile inner(ByteWriter().text("AB", 3).text("CD", 4).bytes);
    EXPECT_EQ(readText(inner, 7), "AB");  // characters after the first zero are dropped
    EXPECT_EQ(inner.GetPosition(), 7u);

    MemFile wide(ByteWriter().text(std::string(300, 'w'), 300).u8('!').bytes);
    EXPECT_EQ(readText(wide, 300), std::string(300, 'w'));
    EXPECT_EQ(readByte(wide), '!');
}

TEST(RecordIo, CoordPairTakesLatitudeFirstButStoresLongitudeFirst) {
    MemFile file;
    writeCoordPair(file, 47.5f, 8.25f);
    EXPECT_EQ(file.bytes(), ByteWriter().i16('r').real48(8.25).real48(47.5).bytes);
    EXPECT_EQ(file.writes, 3);

    file.Seek(0, CFile::begin);
    float latitude = 0.0f;
    float longitude = 0.0f;
    readCoordPair(file, latitude, longitude);
    EXPECT_EQ(latitude, 47.5f);
    EXPECT_EQ(longitude, 8.25f);
    EXPECT_EQ(file.reads, 3);
    EXPECT_EQ(file.GetPosition(), 14u);
}

TEST(RecordIo, CoordPairWithWrongTagThrowsAndLeavesDestinations) {
    MemFile file(ByteWriter().i16('s').real48(8.25).real48(47.5).bytes);
    float latitude = 1.5f;
    float longitude = 2.5f;
    try {
        readCoordPair(file, latitude, longitude);
        FAIL() << "no error";
    } catch (const FIO_Error& error) {
        EXPECT_EQ(error.message, FIO_Error::kBadObject);
        EXPECT_EQ(error.code, FIO_Error::kMalformed);
    }
    EXPECT_EQ(latitude, 1.5f);
    EXPECT_EQ(longitude, 2.5f);
    EXPECT_EQ(file.GetPosition(), 2u);
}

TEST(RecordIo, TruncatesDecodedValuesTowardZeroAndSaturates) {
    const std::pair<float, int32_t> cases[] = {
        {-3.7f, -3},
        {451.9f, 451},
        {-0.9f, 0},
        {2147483520.0f, 2147483520},
        {-2147483648.0f, INT32_MIN},
        {2147483648.0f, INT32_MAX},
        {1.7e38f, INT32_MAX},
        {-1.7e38f, INT32_MIN},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(truncateToInt32(value), expected) << value;
    MemFile file(ByteWriter().real48(-3.7).bytes);
    EXPECT_EQ(truncateToInt32(readReal48(file)), -3);
}

}  // namespace
