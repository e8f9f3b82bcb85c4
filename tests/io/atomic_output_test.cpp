#include "io/atomic_output.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "host_test_support.h"
#include "io/paths.h"
#include "io/tool_error.h"
#include "tool_run.h"

using velkano::tool::AtomicOutput;
using velkano::tool::ToolError;
using velkano::tool::withExtension;

namespace {

TEST(AtomicOutput, WithExtensionReplacesTheLastElementsExtension) {
    EXPECT_EQ(withExtension("/d/tasks.rtx", ".top"), "/d/tasks.top");
    EXPECT_EQ(withExtension("/d/tasks", ".top"), "/d/tasks.top");
    EXPECT_EQ(withExtension("/my.dir/tasks", ".top"), "/my.dir/tasks.top");
    EXPECT_EQ(withExtension("C:\\my.dir\\t.x.rtx", ".top"), "C:\\my.dir\\t.x.top");
}

TEST(AtomicOutput, CommitReplacesTheFinalFileAndLeavesNoTemporary) {
    testing_support::ScratchDir dir;
    testing_support::writeFileBytes(dir.file("out.json"), {'o', 'l', 'd'});
    {
        AtomicOutput output(dir.file("out.json"));
        EXPECT_EQ(std::filesystem::path(output.temporaryPath()).parent_path(), dir.path());
        output.write("new");
        EXPECT_EQ(testing_support::readFileText(dir.file("out.json")), "old");
        output.commit();
    }
    EXPECT_EQ(testing_support::readFileText(dir.file("out.json")), "new");
    EXPECT_EQ(tooltest::listDirectory(dir.path().string()), std::vector<std::string>{"out.json"});
}

TEST(AtomicOutput, AnUncommittedOutputRemovesItsTemporariesAndKeepsTheOldFiles) {
    testing_support::ScratchDir dir;
    testing_support::writeFileBytes(dir.file("t.top"), {'k'});
    {
        AtomicOutput output(dir.file("t.rtx"), {".top"});
        output.write("partial");
        EXPECT_EQ(tooltest::listDirectory(dir.path().string()).size(), 3u);
    }
    EXPECT_EQ(tooltest::listDirectory(dir.path().string()), std::vector<std::string>{"t.top"});
}

TEST(AtomicOutput, SiblingsShareTheTemporaryNameAndCommitTogether) {
    testing_support::ScratchDir dir;
    for (const char* name : {"t.rtx", "t"}) {
        AtomicOutput output(dir.file(name), {".top"});
        // The route driver derives the companion from the task file's temporary name.
        const std::string companion = withExtension(output.temporaryPath(), ".top");
        ASSERT_TRUE(std::filesystem::exists(companion)) << companion;
        testing_support::writeFileBytes(companion, {'t', 'p'});
        output.write("task");
        output.commit();
        EXPECT_EQ(testing_support::readFileText(dir.file(name)), "task");
        EXPECT_EQ(testing_support::readFileText(dir.file("t.top")), "tp");
    }
    EXPECT_EQ(tooltest::listDirectory(dir.path().string()),
              (std::vector<std::string>{"t", "t.rtx", "t.top"}));
}

TEST(AtomicOutput, CommitIfAbsentNeverReplaces) {
    testing_support::ScratchDir dir;
    testing_support::writeFileBytes(dir.file("a-01.igc"), {'1'});
    AtomicOutput output(dir.file("a-01.igc"));
    output.write("2");
    EXPECT_FALSE(output.commitIfAbsent(dir.file("a-01.igc")));
    EXPECT_TRUE(output.commitIfAbsent(dir.file("a-02.igc")));
    EXPECT_EQ(testing_support::readFileText(dir.file("a-01.igc")), "1");
    EXPECT_EQ(testing_support::readFileText(dir.file("a-02.igc")), "2");
    EXPECT_EQ(tooltest::listDirectory(dir.path().string()),
              (std::vector<std::string>{"a-01.igc", "a-02.igc"}));
}

TEST(AtomicOutput, RefusesADirectoryOrAMissingDestination) {
    testing_support::ScratchDir dir;
    EXPECT_THROW(AtomicOutput{dir.path().string()}, ToolError);
    try {
        AtomicOutput output(dir.file("missing/out.json"));
        ADD_FAILURE() << "created " << output.temporaryPath();
    } catch (const ToolError& e) {
        EXPECT_EQ(e.path(), dir.file("missing/"));
        EXPECT_STREQ(e.what(), "cannot create a file: No such file or directory");
    }
}

}  // namespace
