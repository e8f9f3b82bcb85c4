// velkano cup and velkano build FILE.cup, run as a user runs them: what the export says, a
// corpus of CUP files written the ways other programs write them, the report's options and the
// imports that must be refused.
#include <gtest/gtest.h>

#include <cstdlib>

#include "golden.h"
#include "host_test_support.h"
#include "formats/json_text.h"
#include "route_file_encoder.h"
#include "tool_run.h"

using namespace testing_support;
using namespace tooltest;
using velkano::tool::Json;
using velkano::tool::parseJson;

namespace {

const std::string kCorpus = std::string(VELKANO_SOURCE_DIR) + "/tests/formats/cup/";

void expectGolden(const std::string& name, const std::string& actual) {
    testing_support::expectGolden(kCorpus + "expected/" + name, actual);
}

Json dump(const std::string& task) {
    const auto run = runVelkano({"dump", task});
    EXPECT_EQ(run.status, 0) << run.err;
    return parseJson(run.out);
}

// Standard error with the directories of the files it names left out.
std::string withoutDirectory(std::string text, const std::string& directory) {
    for (size_t at = text.find(directory); at != std::string::npos; at = text.find(directory, at))
        text.erase(at, directory.size());
    return text;
}

TEST(Cup, ExportSaysWhatItCannotWriteAsItIs) {
    ScratchDir dir;
    // Written with our encoders: build refuses a latitude beyond 90.
    std::vector<testenc::TpRecordFields> turnpoints(5);
    const char* names[] = {"Wende-A", "wende a", "WENDE A (2)", "Pol", ""};
    for (int i = 0; i < 5; ++i) {
        turnpoints[i].number = i + 1;
        turnpoints[i].name = names[i];
    }
    turnpoints[0].latitude = 48;
    turnpoints[3].latitude = 91;
    turnpoints[4].comment = "zwei\nZeilen";
    turnpoints[2].runways = {{800.0, 360, 'G'}};  // a point's runway is written too
    testenc::RouteRecordFields route;
    route.name = "lang";
    for (int i = 0; i < 40; ++i) route.listed.push_back({1 + i % 5});
    writeFileBytes(dir.file("t.top"), testenc::encodeTpFile(turnpoints));
    writeFileBytes(dir.file("t.rtx"), testenc::encodeTaskFile({route}));
    const auto run = runVelkano({"cup", dir.file("t.rtx"), "--notes", "all"});
    ASSERT_EQ(run.status, 0);
    expectGolden("export-notes.txt", withoutDirectory(run.err, dir.file("")));
    EXPECT_NE(run.out.find("\r\n\"WENDE A (2) (2)\",,,0000.000N,00000.000E,0m,1,000,800m,,,,"
                           "\"surface=1\",\r\n\"TP 5\",,,0000.000N,00000.000E,0m,1,,,,,"
                           "\"zwei Zeilen\",,\r\n"),
              std::string::npos)
        << run.out;
}

TEST(Cup, CorpusImportsWithExpectedMembersAndNotes) {
    struct Case {
        std::string golden;
        std::vector<std::string> args;
    };
    const Case cases[] = {
        {"current-14", {"current-14.cup"}},
        {"classic-11-cp1252", {"classic-11-cp1252.cup"}},
        {"twelve-and-thirteen", {"thirteen-reordered.cup", "twelve.cup"}},
        {"tasks-in-own-file", {"no-header.cup", "tasks-only.cup"}},
        {"gpsbabel", {"gpsbabel.cup"}},
        {"skip-bad-rows", {"bad-rows.cup", "--skip-bad-rows"}},
        {"spreadsheet-mac-cr", {"spreadsheet-mac-cr.cup"}},
        {"mixed-line-ends", {"mixed-line-ends.cup"}},
        {"units-in-header", {"elev-m-header.cup", "elevation-ft-header.cup"}},
        {"styles-and-userdata", {"styles-and-userdata.cup"}},
        {"utf16-bom", {"utf16-bom.cup"}},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        std::vector<std::string> args = {"build"};
        for (const std::string& arg : c.args)
            args.push_back(arg.starts_with("--") ? arg : kCorpus + arg);
        args.insert(args.end(), {"-o", dir.file("t.rtx"), "--notes", "all"});
        const auto run = runVelkano(args);
        EXPECT_EQ(run.status, 0) << c.golden << ": " << run.err;
        Json result = Json::object();
        result["stderr"] = Json::array();
        const std::string err = withoutDirectory(run.err, kCorpus);
        for (size_t at = 0, end; (end = err.find('\n', at)) != std::string::npos; at = end + 1)
            result["stderr"].push_back(err.substr(at, end - at));
        result["dump"] = dump(dir.file("t.rtx"));
        expectGolden(c.golden + ".json", velkano::tool::formatJson(result));
    }
}

TEST(Cup, ReportCountsEachKindWithItsFirstPlacesOrEveryNote) {
    ScratchDir dir;
    std::string cup = "name,lat,lon,desc\n";
    for (int i = 0; i < 5; ++i)
        cup += "P" + std::to_string(i) + ",5000.000N,01000.000E," + std::string(100, 'd') + "\n";
    writeFileText(dir.file("long.cup"), cup);
    const std::string file = "velkano: " + dir.file("long.cup");
    std::string each;
    for (int line = 2; line <= 6; ++line) {
        each += file + ":" + std::to_string(line) +
                ": column desc: longer than 99 characters; the file keeps the first 99\n";
    }
    const std::string counts = "  texts longer than their field in column desc: 5";
    const std::string places = " (" + dir.file("long.cup") + ":2, " + dir.file("long.cup") +
                               ":3, " + dir.file("long.cup") + ":4 and 2 more)";
    struct Case {
        std::vector<std::string> options;
        int status;
        std::string err;
    } const cases[] = {
        {{"-q", "--notes", "all"}, 2, ""},
        {{"--notes", "some"}, 2, ""},
        {{}, 0, file + ": 5 notes\n" + counts + places + "\n"},
        {{"-q"}, 0, file + ": 5 notes\n" + counts + "\n"},
        {{"--notes", "all"}, 0, each + file + ": 5 notes\n" + counts + places + "\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"build", dir.file("long.cup"), "-o", dir.file("t.rtx")};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const auto run = runVelkano(args);
        EXPECT_EQ(run.status, c.status) << run.err;
        if (c.status == 0) {
            EXPECT_EQ(run.err, c.err);
        }
    }
    const auto json = runVelkano(
        {"build", kCorpus + "round-trip.json", "-o", dir.file("j.rtx"), "--notes", "all"});
    EXPECT_EQ(json.status, 2);
    EXPECT_EQ(json.err,
              "velkano: --notes and -q are for .cup inputs; each note of JSON is named on its "
              "own\n");
}

TEST(Cup, ImportRefusesAndWritesNothing) {
    const std::string header = "name,code,country,lat,lon,elev,style\n";
    const std::string row = "\"A\",,,5000.000N,01000.000E,1m,1\n";
    std::string manyRows = header;
    for (int i = 0; i <= velkano::kMaxRecordCount; ++i) manyRows += row;
    std::string manyTasks = header + row + "-----Related Tasks-----\n";
    for (int i = 0; i <= velkano::kMaxRecordCount; ++i) manyTasks += "\"T\",\"A\",\"A\"\n";
    struct Case {
        std::string cup;
        std::vector<std::string> options;
        std::string message;  // after "velkano: DIR/in.cup"
    };
    const Case cases[] = {
        {header + ",X,,5000.000N,01000.000E,1m,1\n",
         {},
         ":2: column name: empty; a turnpoint needs a name"},
        {header + "\"A\",,,5060.000N,01000.000E,1m,1\n",
         {},
         ":2: column lat: \"5060.000N\" is not a latitude DDMM.mmmN or S with minutes below 60"},
        {header + row + "\"B\",,,5000.000N,18100.000E,1m,1\n",
         {},
         ":3: column lon: \"18100.000E\" is not a longitude DDDMM.mmmE or W with minutes below 60"},
        {header + "\"A\",,,9000.001N,01000.000E\n",
         {},
         ":2: column lat: \"9000.001N\" is not a latitude DDMM.mmmN or S with minutes below 60"},
        {header + "\"A\",,,5000.00N,01000.000E\n",
         {},
         ":2: column lat: \"5000.00N\" is not a latitude DDMM.mmmN or S with minutes below 60"},
        {header + "\"A\",,,5000.000N,\n",
         {},
         ":2: column lon: empty; a turnpoint needs its longitude"},
        {header + row + "-----Related Tasks-----\n\"T\",\"A\",\"a\",\"B\",\"A\"\n",
         {},
         ":4: column 4: \"B\" names no row of any input"},
        {header + "\"Łódź\",,,5000.000N,01000.000E\n",
         {"--strict"},
         ":2: column name: character U+0141 has no windows-1252 byte"},
        {manyRows, {}, ": more than 16384 waypoints; a task file holds at most 16384"},
        {manyTasks, {}, ": more than 16384 tasks; a task file holds at most 16384"},
        {readFileText(kCorpus + "refused/empty.cup"), {"--skip-bad-rows"}, ": no waypoints"},
        {readFileText(kCorpus + "refused/comments-only.cup"), {}, ": no waypoints"},
        {readFileText(kCorpus + "refused/header-only.cup"), {}, ": no waypoints"},
        {readFileText(kCorpus + "refused/semicolons.cup"),
         {},
         ":1: fields are separated by ';'; CUP separates them by commas"},
        {readFileText(kCorpus + "refused/tabs.cup"),
         {"--skip-bad-rows"},
         ":1: fields are separated by tabs; CUP separates them by commas"},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        writeFileText(dir.file("in.cup"), c.cup);
        writeFileText(dir.file("t.rtx"), "old task");
        std::vector<std::string> args = {"build", dir.file("in.cup"), "-o", dir.file("t.rtx")};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const auto run = runVelkano(args);
        EXPECT_EQ(run.status, 1) << c.message;
        EXPECT_EQ(run.err, "velkano: " + dir.file("in.cup") + c.message + "\n");
        EXPECT_EQ(listDirectory(dir.path().string()),
                  (std::vector<std::string>{"in.cup", "t.rtx"}));
        EXPECT_EQ(readFileText(dir.file("t.rtx")), "old task");
    }
    ScratchDir dir;
    const auto missing = runVelkano(
        {"build", kCorpus + "no-header.cup", dir.file("none.cup"), "-o", dir.file("t.rtx")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "velkano: " + dir.file("none.cup") + ": No such file or directory\n");
    EXPECT_EQ(listDirectory(dir.path().string()), std::vector<std::string>{});
}

}  // namespace
