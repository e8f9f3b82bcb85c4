// The page's conversions against velkano itself: for each group of files the page may be given,
// every download has the bytes velkano writes for the same input and options, every error and
// note is a line velkano prints after "velkano: ", the flight table is what velkano list prints
// and the view data is what velkano view embeds.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>

#include "browser/conversions.h"
#include "formats/view_page.h"
#include "host_test_support.h"
#include "tool_run.h"

using namespace velkano::tool;
using testing_support::readFileText;
using testing_support::ScratchDir;
using testing_support::writeFileText;
using tooltest::runVelkano;

namespace {

const std::string kSource = VELKANO_SOURCE_DIR;
const std::string kExamples = kSource + "/examples/";
const std::string kCupCorpus = kSource + "/tests/formats/cup/";
// velkano igc --text by IgcCharset.
const char* const kTextNames[] = {"utf-8", "ascii", "raw"};

// A file of a group: its name there, its bytes from source, cut to length when given.
struct Input {
    std::string name;
    std::string source;
    std::optional<size_t> length = std::nullopt;
};

struct GroupCase {
    std::vector<Input> files;
    PageOptions options;
    GroupKind kind;
};

// Runs in a directory and returns to where it was: velkano and the page are given names as a
// user drops them, so that both name the files alike.
class InDirectory {
public:
    explicit InDirectory(const std::filesystem::path& directory)
        : before_(std::filesystem::current_path()) {
        std::filesystem::current_path(directory);
    }
    ~InDirectory() { std::filesystem::current_path(before_); }

private:
    std::filesystem::path before_;
};

// What velkano printed on standard error with "velkano: " taken off the lines that carry it.
std::string withoutToolName(std::string err) {
    for (size_t at = 0; (at = err.find("velkano: ", at)) != std::string::npos;) {
        if (at == 0 || err[at - 1] == '\n')
            err.erase(at, 9);
        else
            ++at;
    }
    return err;
}

std::string joined(const std::vector<std::string>& texts) {
    std::string text;
    for (const std::string& line : texts) text += line + "\n";
    return text;
}

std::string baseOf(const std::string& name) {
    return std::filesystem::path(name).stem().string();
}

// velkano's status and standard error for a run whose errors and notes the result holds: what
// it says, notes first, and failure exactly when there are errors.
void expectSaid(const tooltest::ToolRun& run, const GroupResult& result, const std::string& what) {
    EXPECT_EQ(withoutToolName(run.err),
              joined(result.notes) + result.report + joined(result.errors))
        << what;
    EXPECT_EQ(run.status, result.errors.empty() ? 0 : 1) << what << ": " << run.err;
}

void expectDownloadsAre(const GroupResult& result, const ScratchDir& written) {
    std::vector<std::string> names;
    for (const Download& download : result.downloads) {
        names.push_back(download.name);
        EXPECT_EQ(readFileText(download.path), readFileText(written.file(download.name)))
            << download.name;
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, tooltest::listDirectory(written.path().string()));
}

// velkano view of the same files embeds the same data.
void expectViewOf(const GroupResult& result, const std::vector<std::string>& files) {
    if (!VELKANO_HAS_VIEW_PAGE || !result.errors.empty()) return;
    ScratchDir page;
    std::vector<std::string> args = {"view", "-o", page.file("view.html")};
    args.insert(args.end(), files.begin(), files.end());
    const auto run = runVelkano(args);
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_FALSE(result.view.empty());
    EXPECT_NE(readFileText(page.file("view.html")).find(jsonForScript(result.view)),
              std::string::npos);
}

void expectAsVelkano(const GroupCase& group, const GroupResult& result,
                     const std::vector<std::string>& names) {
    ScratchDir written;
    const std::string& first = names.front();
    switch (result.kind) {
        case GroupKind::flights: {
            const auto igc = runVelkano(
                {"igc", first, "-q", "-o", written.path().string(), "--text",
                 kTextNames[static_cast<int>(group.options.flightText.charset)], "--line-ending",
                 group.options.flightText.lineEnding == LineEnding::lf ? "lf" : "crlf"});
            expectSaid(igc, result, "igc");
            const auto list = runVelkano({"list", first});
            expectSaid(list, result, "list");
            EXPECT_EQ(list.out, result.table);
            expectViewOf(result, {first});
            break;
        }
        case GroupKind::task: {
            const std::string& task = first;  // the .rtx leads its group in the table
            const auto dump =
                runVelkano({"dump", task, "-o", written.file(baseOf(task) + ".json")});
            EXPECT_EQ(withoutToolName(dump.err), joined(result.errors));
            if (dump.status != 0) break;
            const auto cup = runVelkano(
                {"cup", task, "-o", written.file(baseOf(task) + ".cup"), "--notes", "all",
                 "--columns", std::to_string(static_cast<int>(group.options.cupColumns))});
            expectSaid(cup, result, "cup");
            expectViewOf(result, {task});
            break;
        }
        case GroupKind::build: {
            const std::string output = written.file(baseOf(first) + ".rtx");
            std::vector<std::string> args = {"build", "-o", output};
            args.insert(args.end(), names.begin(), names.end());
            if (group.options.cupRead.strict) args.push_back("--strict");
            if (group.options.cupRead.skipBadRows) args.push_back("--skip-bad-rows");
            // Each note as the page gives it; JSON's are so already.
            if (first.ends_with(".cup")) args.insert(args.end(), {"--notes", "all"});
            expectSaid(runVelkano(args), result, "build");
            if (result.errors.empty()) expectViewOf(result, {output});
            break;
        }
        case GroupKind::other:
            ASSERT_EQ(result.errors.size(), 1u);
            EXPECT_TRUE(result.errors[0].starts_with(first + ": not a file velkano reads"))
                << result.errors[0];
            return;
    }
    if (!result.errors.empty() && result.kind != GroupKind::flights) {
        EXPECT_TRUE(result.downloads.empty());
    }
    expectDownloadsAre(result, written);
}

void checkGroup(const GroupCase& group) {
    ScratchDir in, out;
    std::vector<std::string> names;
    for (const Input& file : group.files) {
        std::string bytes = readFileText(file.source);
        if (file.length) bytes.resize(*file.length);
        writeFileText(in.file(file.name), bytes);
        names.push_back(file.name);
    }
    InDirectory inside(in.path());
    const GroupResult result = convertGroup(names, out.path().string(), group.options);
    std::string said = joined(result.errors) + joined(result.notes);
    ASSERT_EQ(result.kind, group.kind) << said;
    for (const Download& download : result.downloads)
        EXPECT_EQ(std::filesystem::path(download.path).parent_path(), out.path()) << download.name;
    expectAsVelkano(group, result, names);
}

PageOptions withOptions(IgcCharset text, LineEnding ending, CupColumns columns, bool strict,
                        bool skip) {
    return {{text, ending}, columns, {strict, skip}};
}

const PageOptions kDefaults;
const PageOptions kOthers =
    withOptions(IgcCharset::ascii, LineEnding::lf, CupColumns::classic, true, true);
const PageOptions kRaw =
    withOptions(IgcCharset::raw, LineEnding::crlf, CupColumns::current, false, true);

Input example(const std::string& name) {
    return {name, kExamples + name};
}

const GroupCase kSampleGroups[] = {
    // Groups that fail first.
    {{{"club_tasks.rtx", kExamples + "club_tasks.rtx"}}, kDefaults, GroupKind::task},
    {{{"club_tasks.top", kExamples + "club_tasks.top"}}, kDefaults, GroupKind::task},
    {{{"empty.flt", kExamples + "club_day.flt", 0}}, kDefaults, GroupKind::flights},
    {{{"header.flt", kExamples + "club_day.flt", 40}}, kDefaults, GroupKind::flights},
    {{{"cut.flt", kExamples + "club_day.flt", 3000}}, kDefaults, GroupKind::flights},
    {{{"cut.flt", kExamples + "midnight_task.flt", 150000}}, kOthers, GroupKind::flights},
    {{{"club_tasks.rtx", kExamples + "club_tasks.rtx", 300}, example("club_tasks.top")},
     kDefaults,
     GroupKind::task},
    {{{"tasks.json", kExamples + "club_day.flt"}}, kDefaults, GroupKind::build},
    {{{"notes.txt", kExamples + "club_tasks.json"}}, kDefaults, GroupKind::other},
    // Sound ones.
    {{example("club_day.flt")}, kDefaults, GroupKind::flights},
    {{example("club_day.flt")}, kOthers, GroupKind::flights},
    {{example("midnight_task.flt")}, kRaw, GroupKind::flights},
    {{{"FLIGHT.DAT", kExamples + "midnight_task.flt"}}, kDefaults, GroupKind::flights},
    {{example("club_tasks.rtx"), example("club_tasks.top")}, kDefaults, GroupKind::task},
    {{{"CLUB.RTX", kExamples + "club_tasks.rtx"}, {"Club.top", kExamples + "club_tasks.top"}},
     kOthers,
     GroupKind::task},
    {{example("club_tasks.json")}, kDefaults, GroupKind::build},
};

TEST(BrowserConversions, SampleGroupsConvertAsVelkanoConvertsThem) {
    for (const GroupCase& group : kSampleGroups) {
        SCOPED_TRACE(group.files.front().name + " (" + group.files.front().source + ")");
        checkGroup(group);
    }
}

// Each CUP file of the corpus alone, and all of them together, with and without the options.
TEST(BrowserConversions, CupCorpusBuildsAsVelkanoBuildsIt) {
    std::vector<Input> all;
    std::vector<GroupCase> groups;
    for (const std::string folder : {"", "refused/"}) {
        if (!std::filesystem::is_directory(kCupCorpus + folder)) continue;
        for (const auto& entry : std::filesystem::directory_iterator(kCupCorpus + folder)) {
            if (entry.path().extension() != ".cup") continue;
            const Input file{entry.path().filename().string(), entry.path().string()};
            for (const PageOptions& options : {kDefaults, kOthers})
                groups.push_back({{file}, options, GroupKind::build});
            if (folder.empty()) all.push_back(file);
        }
    }
    ASSERT_GT(all.size(), 3u) << "no CUP corpus in " << kCupCorpus;
    std::sort(all.begin(), all.end(),
              [](const Input& a, const Input& b) { return a.name < b.name; });
    groups.push_back({all, kDefaults, GroupKind::build});
    groups.push_back({all, kOthers, GroupKind::build});
    for (const GroupCase& group : groups) {
        SCOPED_TRACE(group.files.front().name + (group.files.size() > 1 ? " and others" : ""));
        checkGroup(group);
    }
}

TEST(BrowserConversions, GroupsThatAreNoUnitAreRefusedWithoutConverting) {
    ScratchDir in, out;
    InDirectory inside(in.path());
    const GroupResult result = convertGroup({"a.flt", "b.flt"}, out.path().string(), kDefaults);
    EXPECT_EQ(result.kind, GroupKind::other);
    EXPECT_EQ(result.errors.size(), 1u);
    EXPECT_TRUE(result.downloads.empty());
    EXPECT_TRUE(tooltest::listDirectory(out.path().string()).empty());
}

}  // namespace
