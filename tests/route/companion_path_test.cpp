// Where the companion turnpoint file of a task file lies.
#include <gtest/gtest.h>

#include <string>

#include "velkano/companion_path.h"

namespace {

struct PathCase {
    std::string taskPath;
    std::string companion;
};

TEST(CompanionPathTest, ReplacesOnlyTheLastElementsExtension) {
    const PathCase cases[] = {
        {"C:\\data\\tasks.rtx", "C:\\data\\tasks.top"},
        {"C:\\data\\tasks", "C:\\data\\tasks.top"},
        {"C:\\my.dir\\tasks", "C:\\my.dir\\tasks.top"},
        {"C:/my.dir/tasks.rtx", "C:/my.dir/tasks.top"},
        {"/home/pilot/my.dir/tasks", "/home/pilot/my.dir/tasks.top"},
        {"C:\\data/mixed.dir\\tasks.rtx", "C:\\data/mixed.dir\\tasks.top"},
        {"C:tasks.rtx", "C:tasks.top"},
        {"tasks.rtx", "tasks.top"},
        {"tasks", "tasks.top"},
        {"season.2024.rtx", "season.2024.top"},
        {"/data/tasks.", "/data/tasks.top"},
        {"/data/.rtx", "/data/.top"},
        {"/data/", "/data/.top"},
        {"", ".top"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(velkano::companionPath(c.taskPath), c.companion) << c.taskPath;
    }
}

TEST(CompanionPathTest, KeepsPathsOfAnyLengthWhole) {
    // Past the old fixed part widths (259 directory, 255 base name or extension characters).
    const std::string directory =
        "D:\\" + std::string(300, 'd') + "\\" + std::string(700, 'e') + "/";
    const std::string base = std::string(400, 'b') + "." + std::string(300, 'c');
    const std::string extension = "." + std::string(500, 'x');
    EXPECT_EQ(velkano::companionPath(directory + base + extension), directory + base + ".top");
    EXPECT_EQ(velkano::companionPath(directory + std::string(5000, 'n')),
              directory + std::string(5000, 'n') + ".top");
}

}  // namespace
