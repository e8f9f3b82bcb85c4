// The samples in examples/ through velkano, compared byte for byte with the outputs committed
// in tests/cli/expected/. Any change to a byte the drivers or the tool produce for a sound file
// fails here. After a deliberate change, VELKANO_UPDATE_GOLDEN=1 rewrites the expected files.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "golden.h"
#include "host_test_support.h"
#include "tool_run.h"

using testing_support::expectGolden;
using testing_support::readFileBytes;
using testing_support::readFileText;
using testing_support::ScratchDir;
using tooltest::runVelkano;

namespace {

const std::string kExamples = std::string(VELKANO_SOURCE_DIR) + "/examples/";
const std::string kGolden = std::string(VELKANO_SOURCE_DIR) + "/tests/cli/expected/";

void expectSameBytes(const std::string& produced, const std::string& expected) {
    EXPECT_TRUE(readFileBytes(produced) == readFileBytes(expected))
        << produced << " differs from " << expected;
}

TEST(SampleGolden, EveryFlightOfEverySampleConvertsToItsGoldenIgc) {
    ScratchDir out;
    std::vector<std::string> args = {"igc", "-o", out.path().string()};
    for (const auto& entry : std::filesystem::directory_iterator(kExamples)) {
        if (entry.path().extension() == ".flt") args.push_back(entry.path().string());
    }
    ASSERT_GT(args.size(), 3u) << "no sample flight files in " << kExamples;
    const auto run = runVelkano(args);
    ASSERT_EQ(run.status, 0) << run.err;

    std::vector<std::string> golden;
    for (const auto& entry : std::filesystem::directory_iterator(kGolden)) {
        if (entry.path().extension() == ".igc") golden.push_back(entry.path().filename().string());
    }
    std::sort(golden.begin(), golden.end());
    ASSERT_EQ(tooltest::listDirectory(out.path().string()), golden);
    for (const std::string& name : golden)
        expectGolden(kGolden + name, readFileText(out.file(name)));
}

TEST(SampleGolden, SampleTaskDumpsToItsGoldenJsonAndTheSampleJsonBuildsTheSampleFiles) {
    ScratchDir out;
    const auto dump = runVelkano({"dump", kExamples + "club_tasks.rtx", "-o", out.file("t.json")});
    ASSERT_EQ(dump.status, 0) << dump.err;
    expectGolden(kGolden + "club_tasks.dump.json", readFileText(out.file("t.json")));

    const auto build =
        runVelkano({"build", kExamples + "club_tasks.json", "-o", out.file("club.rtx")});
    ASSERT_EQ(build.status, 0) << build.err;
    expectSameBytes(out.file("club.rtx"), kExamples + "club_tasks.rtx");
    expectSameBytes(out.file("club.top"), kExamples + "club_tasks.top");
}

TEST(SampleGolden, ListOfTheSampleFlightsIsTheGoldenJson) {
    const auto run =
        runVelkano({"list", "--json", kExamples + "club_day.flt", kExamples + "midnight_task.flt"});
    ASSERT_EQ(run.status, 0) << run.err;
    // The files are named as given; the golden list gives them without a directory.
    std::string list = run.out;
    for (size_t at = list.find(kExamples); at != std::string::npos; at = list.find(kExamples))
        list.erase(at, kExamples.size());
    expectGolden(kGolden + "list.json", list);
    // The table says the same, a line per flight under a line per file and its headings.
    const auto table = runVelkano({"list", kExamples + "club_day.flt"});
    ASSERT_EQ(table.status, 0) << table.err;
    EXPECT_EQ(std::count(table.out.begin(), table.out.end(), '\n'), 2 + 3);
    EXPECT_NE(table.out.find("2023-04-15-XSX-004-01.igc"), std::string::npos) << table.out;
}

TEST(SampleGolden, InfoPrintsTheGoldenRecords) {
    const auto run = runVelkano({"info"});
    ASSERT_EQ(run.status, 0) << run.err;
    // Lines that start in the first column name the driver's path, which varies.
    std::string records;
    size_t start = 0;
    while (start < run.out.size()) {
        size_t end = run.out.find('\n', start);
        end = end == std::string::npos ? run.out.size() : end + 1;
        std::string line = run.out.substr(start, end - start);
        std::erase(line, '\r');
        if (line.starts_with(" ")) records += line;
        start = end;
    }
    expectGolden(kGolden + "info.txt", records);
}

}  // namespace
