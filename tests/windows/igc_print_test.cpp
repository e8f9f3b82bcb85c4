// A failing print to the IGC output file under the Windows C runtime, which has no device
// that refuses writes: a stream opened for reading refuses every print.
#include <gtest/gtest.h>

#include <cstdio>

#include "host_test_support.h"
#include "velkano/host_file.h"

namespace {

TEST(IgcPrintfWindowsTest, RefusedPrintClearsTheStreamAndThrowsTheFileException) {
    testing_support::ScratchDir dir;
    const std::string path = dir.file("out.igc");
    testing_support::writeFileBytes(path, {});
    CStdioFile out(path, CStdioFile::typeBinary | CStdioFile::modeRead);
    try {
        igcPrintf(out, "HFDTE%02d\n", 5);
        FAIL() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::genericException);
        EXPECT_EQ(e.m_strFileName, path);
    }
    EXPECT_EQ(std::ferror(out.stream()), 0);
}

}  // namespace
