// Field-sized reads and writes through CStdioFile: every width a record field has, and the
// widths around them, must carry their bytes in order, also where the file ends mid-field,
// across the edges of the file's own buffer and in any mix with seeks and printing.
#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "host_test_support.h"
#include "mem_file.h"
#include "velkano/host_file.h"

namespace {

using namespace testing_support;

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
        CStdioFile file(dir.file("fields.bin"), kHostRead);
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
        CStdioFile file(dir.file("fields.bin"), kHostWrite);
        for (uint32_t width = 1; width <= 12; ++width) {
            const std::vector<uint8_t> field = countingBytes(width);
            file.Write(field.data(), width);
            expected.insert(expected.end(), field.begin(), field.end());
        }
        EXPECT_EQ(file.GetPosition(), expected.size());
    }
    EXPECT_EQ(readFileBytes(dir.file("fields.bin")), expected);
}

// A long random mix of reads, writes, seeks and prints on one file, checked step by step
// against an in-memory file: fields straddle the buffer's end, seeks land inside and outside
// the read-ahead, reads follow writes and writes follow reads, reads run past the end.
TEST(CStdioFileFieldsTest, MixedOperationsMatchAnInMemoryFile) {
    constexpr uint32_t kBuffer = CStdioFile::kBufferSize;
    const uint32_t widths[] = {1, 2, 4, 6, 7, 30, 255, kBuffer - 3, kBuffer + 5};
    ScratchDir dir;
    const std::string path = dir.file("mixed.bin");
    MemFile model;
    std::mt19937 random(15);
    const auto pick = [&](uint32_t below) { return static_cast<uint32_t>(random() % below); };
    {
        CStdioFile file(path, kHostWrite | CStdioFile::modeReadWrite);
        for (int step = 0; step < 4000; ++step) {
            const uint32_t width = widths[pick(std::size(widths))];
            const uint32_t op = pick(10);
            const std::string at = "step " + std::to_string(step) + ", op " + std::to_string(op) +
                                   ", width " + std::to_string(width);
            if (op < 4) {
                std::vector<uint8_t> got(width, 0xEE);
                std::vector<uint8_t> expected(width, 0xDD);
                ASSERT_EQ(file.Read(got.data(), width), model.Read(expected.data(), width)) << at;
                ASSERT_EQ(got, expected) << at;
            } else if (op < 7) {
                std::vector<uint8_t> bytes(width);
                for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
                file.Write(bytes.data(), width);
                model.Write(bytes.data(), width);
            } else if (op < 9) {
                // Near the position (mostly inside the read-ahead), near an edge of a
                // buffer or of the file, or anywhere.
                const int origin = static_cast<int>(pick(3));
                const int64_t size = model.size();
                const int64_t nudge = int64_t{pick(3)} - 1;
                const int64_t targets[] = {
                    model.GetPosition() + pick(80) - int64_t{40},
                    int64_t{pick(4)} * kBuffer + nudge,
                    size + nudge,
                    pick(static_cast<uint32_t>(size) + 100),
                };
                const int64_t target = std::max<int64_t>(0, targets[op == 7 ? 0 : 1 + pick(3)]);
                const int64_t base = origin == CFile::begin     ? 0
                                     : origin == CFile::current ? model.GetPosition()
                                                                : size;
                ASSERT_EQ(file.Seek(target - base, origin), model.Seek(target - base, origin))
                    << at;
            } else {
                const std::string text = "B" + std::to_string(step) + "\n";
                igcPrintf(file, "B%d\n", step);
                model.Write(text.data(), static_cast<uint32_t>(text.size()));
            }
            ASSERT_EQ(file.GetPosition(), model.GetPosition()) << at;
        }
        file.Close();
    }
    EXPECT_EQ(readFileBytes(path), model.bytes());
}

}  // namespace
