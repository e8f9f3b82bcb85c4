// Field-sized reads and writes through CStdioFile: every width a record field has, and the
// widths around them, must carry their bytes in order, also where the file ends mid-field.
#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <vector>

#include "host_test_support.h"
#include "velkano/host_file.h"

namespace {

using testing_support::readFileBytes;
using testing_support::ScratchDir;
using testing_support::writeFileBytes;

constexpr unsigned kRead = CStdioFile::typeBinary | CStdioFile::modeRead;
constexpr unsigned kCreate =
    CStdioFile::typeBinary | CStdioFile::modeCreate | CStdioFile::modeWrite;

std::vector<uint8_t> countingBytes(size_t size) {
    std::vector<uint8_t> bytes(size);
    std::iota(bytes.begin(), bytes.end(), uint8_t{1});
    return bytes;
}

TEST(CStdioFileFieldsTest, ReadsEveryFieldWidthInOrderUpToAShortLastField) {
    ScratchDir dir;
    for (uint32_t width = 1; width <= 12; ++width) {
        // Three whole fields and a last one that lacks a byte.
        const std::vector<uint8_t> content = countingBytes(4 * width - 1);
        writeFileBytes(dir.file("fields.bin"), content);
        CStdioFile file(dir.file("fields.bin"), kRead);
        std::vector<uint8_t> read;
        for (int field = 0; field < 4; ++field) {
            std::vector<uint8_t> buffer(width, 0xEE);
            const uint32_t got = file.Read(buffer.data(), width);
            EXPECT_EQ(got, field < 3 ? width : width - 1) << "width " << width;
            EXPECT_EQ(buffer.back(), field < 3 ? content[read.size() + width - 1] : 0)
                << "width " << width;
            read.insert(read.end(), buffer.begin(), buffer.begin() + got);
        }
        EXPECT_EQ(read, content) << "width " << width;
        EXPECT_EQ(file.GetPosition(), content.size()) << "width " << width;
    }
}

TEST(CStdioFileFieldsTest, WritesEveryFieldWidthInOrder) {
    ScratchDir dir;
    std::vector<uint8_t> expected;
    {
        CStdioFile file(dir.file("fields.bin"), kCreate);
        for (uint32_t width = 1; width <= 12; ++width) {
            const std::vector<uint8_t> field = countingBytes(width);
            file.Write(field.data(), width);
            expected.insert(expected.end(), field.begin(), field.end());
        }
        EXPECT_EQ(file.GetPosition(), expected.size());
    }
    EXPECT_EQ(readFileBytes(dir.file("fields.bin")), expected);
}

}  // namespace
