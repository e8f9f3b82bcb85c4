// The host file layer over the C runtime's files.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "host_test_support.h"
#include "velkano/host_file.h"

namespace {

using namespace testing_support;

TEST(CStdioFileTest, TracksPositionThroughWritesSeeksAndReads) {
    ScratchDir dir;
    const std::string path = dir.file("a.bin");
    {
        CStdioFile file(path, kHostWrite | CStdioFile::modeReadWrite);
        EXPECT_EQ(file.GetPosition(), 0u);
        EXPECT_EQ(file.GetFilePath(), path);
        file.Write("abcdef", 6);
        EXPECT_EQ(file.GetPosition(), 6u);
        EXPECT_EQ(file.Seek(2, CFile::begin), 2u);
        char two[2];
        EXPECT_EQ(file.Read(two, 2), 2u);
        EXPECT_EQ(std::string(two, 2), "cd");
        file.Write("XY", 2);  // a write straight after a read
        EXPECT_EQ(file.GetPosition(), 6u);
        EXPECT_EQ(file.Seek(-1, CFile::end), 5u);
        EXPECT_EQ(file.Seek(-1, CFile::current), 4u);
    }
    EXPECT_EQ(readFileBytes(path), (std::vector<uint8_t>{'a', 'b', 'c', 'd', 'X', 'Y'}));
}

TEST(CStdioFileTest, ShortReadFillsTheMissingBytesWithZeros) {
    ScratchDir dir;
    writeFileBytes(dir.file("short.bin"), {1, 2, 3});
    CStdioFile file(dir.file("short.bin"), kHostRead);
    uint8_t buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), 0xEE);
    EXPECT_EQ(file.Read(buffer, 8), 3u);
    EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 8),
              (std::vector<uint8_t>{1, 2, 3, 0, 0, 0, 0, 0}));
    EXPECT_EQ(file.GetPosition(), 3u);
    EXPECT_EQ(file.Read(buffer, 4), 0u);
    EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 4), (std::vector<uint8_t>(4, 0)));
}

TEST(CStdioFileTest, CreateTruncatesAnExistingFile) {
    ScratchDir dir;
    writeFileBytes(dir.file("t.bin"), {9, 9, 9, 9});
    {
        CFIOFile file(dir.file("t.bin"), CFIOFile::kWriteFlags);
        file.Write("z", 1);
    }
    EXPECT_EQ(readFileBytes(dir.file("t.bin")), (std::vector<uint8_t>{'z'}));
}

TEST(CStdioFileTest, OpenFailureThrowsWithCauseErrnoAndName) {
    ScratchDir dir;
    struct Case {
        std::string path;
        unsigned flags;
        int cause;
        int osError;
    };
    const Case cases[] = {
        {dir.file("missing.top"), CFIOFile::kReadFlags, CFileException::fileNotFound, ENOENT},
        {dir.file("no/such/dir/x.top"), CFIOFile::kWriteFlags, CFileException::fileNotFound,
         ENOENT},
#if defined(_WIN32)
        {dir.path().string(), CFIOFile::kWriteFlags, CFileException::accessDenied, EACCES},
#else
        {dir.path().string(), CFIOFile::kWriteFlags, CFileException::badPath, EISDIR},
#endif
    };
    for (const auto& c : cases) {
        try {
            CFIOFile file(c.path, c.flags);
            ADD_FAILURE() << "opened " << c.path;
        } catch (const CFileException& e) {
            EXPECT_EQ(e.m_cause, c.cause) << c.path;
            EXPECT_EQ(e.m_lOsError, c.osError) << c.path;
            EXPECT_EQ(e.m_strFileName, c.path);
            EXPECT_NE(std::string(e.what()).find(c.path), std::string::npos);
        }
    }
}

TEST(CStdioFileTest, SeekBeforeTheStartThrows) {
    ScratchDir dir;
    writeFileBytes(dir.file("s.bin"), {1, 2});
    CStdioFile file(dir.file("s.bin"), kHostRead);
    EXPECT_THROW(file.Seek(-5, CFile::begin), CFileException);
}

// Writes wait in the file's buffer; the device's refusal must still reach the caller.
TEST(CStdioFileTest, WriteToAFullDeviceThrowsOnFlushOrClose) {
    for (const bool close : {false, true}) {
        CStdioFile full("/dev/full", kHostWrite);
        full.Write("abc", 3);  // buffered
        try {
            close ? full.Close() : full.Flush();
            ADD_FAILURE() << "no exception, close " << close;
        } catch (const CFileException& e) {
#if !defined(_WIN32)  // the emulated C runtime under Wine names the error its own way
            EXPECT_EQ(e.m_cause, CFileException::diskFull) << "close " << close;
            EXPECT_EQ(e.m_lOsError, ENOSPC) << "close " << close;
#endif
        }
    }
}

TEST(IgcPrintfTest, PrintsFormattedText) {
    ScratchDir dir;
    {
        CStdioFile out(dir.file("o.igc"), kHostWrite);
        igcPrintf(out, "B%02d%05d\n", 7, -5);
        EXPECT_EQ(out.GetPosition(), 9u);
        out.Write("xy", 2);
        igcPrintf(out, "%s", "z\n");
        EXPECT_EQ(out.GetPosition(), 13u);
    }
    const auto bytes = readFileBytes(dir.file("o.igc"));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "B07-0005\nxyz\n");
}

TEST(IgcPrintfTest, FailedPrintClearsTheStreamAndThrowsTheFileException) {
#if defined(_WIN32)
    GTEST_SKIP() << "needs /dev/full; test_windows prints to a read-only stream instead";
#endif
    // A formatted line, and a line the writer put together itself.
    const std::function<void(CStdioFile&)> prints[] = {
        [](CStdioFile& out) { igcPrintf(out, "HFDTE%02d\n", 5); },
        [](CStdioFile& out) { igcPrintf(out, "%s", "B1\n"); },
    };
    for (const auto& print : prints) {
        std::FILE* stream = std::fopen("/dev/full", "w");
        ASSERT_NE(stream, nullptr);
        std::setvbuf(stream, nullptr, _IONBF, 0);  // every print reaches the device at once
        CStdioFile out(stream, "/dev/full", true);
        try {
            print(out);
            ADD_FAILURE() << "no exception";
        } catch (const CFileException& e) {
            EXPECT_EQ(e.m_cause, CFileException::genericException);
            EXPECT_EQ(e.m_lOsError, ENOSPC);
            EXPECT_EQ(e.m_strFileName, "/dev/full");
        }
        EXPECT_EQ(std::ferror(stream), 0);
        EXPECT_EQ(out.GetPosition(), 0u);
    }
}

}  // namespace
