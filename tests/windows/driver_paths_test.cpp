// Task files under Windows paths: drive letters, backslashes, forward slashes and dotted
// directories, written and read back through the route driver's exports.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "host/driver_library.h"
#include "host_test_support.h"

namespace {

using testing_support::driverPath;
using testing_support::ScratchDir;

constexpr unsigned kHostRead = CStdioFile::typeBinary | CStdioFile::modeRead;
constexpr unsigned kHostWrite =
    CStdioFile::typeBinary | CStdioFile::modeCreate | CStdioFile::modeWrite;

std::string withForwardSlashes(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

TEST(DriverPathTest, CompanionLiesBesideTheTaskFileWhateverTheSeparators) {
    struct Case {
        const char* directory;
        const char* task;
        const char* companion;
        bool forwardSlashes;
    };
    const Case cases[] = {
        {"data", "tasks.rtx", "tasks.top", false},
        {"data", "tasks.rtx", "tasks.top", true},
        {"my.dir", "tasks", "tasks.top", false},
        {"a.b", "tasks.v2.rtx", "tasks.v2.top", false},
        {"a.b", "tasks.v2.rtx", "tasks.v2.top", true},
    };
    for (const Case& c : cases) {
        ScratchDir scratch;
        const std::filesystem::path directory = scratch.path() / c.directory;
        std::filesystem::create_directory(directory);
        std::string task = (directory / c.task).string();
        ASSERT_TRUE(task.size() > 2 && task[1] == ':' && task.find('\\') != std::string::npos)
            << "not a drive-letter path: " << task;
        if (c.forwardSlashes) task = withForwardSlashes(task);
        SCOPED_TRACE(task);

        DriverLibrary driver(driverPath("Velkano17Rte.drf"));
        ASSERT_NE(driver.InitDriver(), nullptr);
        {
            CStdioFile out(task, kHostWrite);
            FIO_Header header;
            header.kind = FIO_Header::kBegin;
            header.turnpointCount = 1;
            ASSERT_EQ(driver.WriteHeader(&out, &header), 1);
            FIO_TPEntry entry;
            entry.number = 1;
            entry.name = "Alpha";
            ASSERT_EQ(driver.WriteTP(nullptr, &entry), 1);
            header.kind = FIO_Header::kEnd;
            ASSERT_EQ(driver.WriteHeader(&out, &header), 1);
        }
        driver.ExitDriver();
        std::vector<std::string> names;
        for (const auto& file : std::filesystem::directory_iterator(directory)) {
            names.push_back(file.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        std::vector<std::string> expected{c.task, c.companion};
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(names, expected);

        ASSERT_NE(driver.InitDriver(), nullptr);
        CStdioFile in(task, kHostRead);
        FIO_TPEntry entry;
        FIO_Route route;
        EXPECT_EQ(driver.ReadObject(&in, &entry, &route), 1);
        EXPECT_EQ(entry.name, "Alpha");
        EXPECT_EQ(driver.ReadObject(&in, &entry, &route), -1);
        driver.ExitDriver();
    }
}

}  // namespace
