// velkano cup and velkano build FILE.cup, run as a user runs them: the sample tasks through
// CUP and back, a corpus of CUP files written the ways other programs write them, and the
// imports that must be refused.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

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

// The dump after cup and build: what CUP cannot hold changed as documented, coordinates aside.
Json withoutWhatCupCannotHold(Json expected) {
    for (Json& tp : expected["turnpoints"]) {
        const std::string frequency = tp["frequency"];
        const double mhz = std::stod(frequency);
        if (mhz != 0 && (mhz < 118 || mhz > 137)) {  // outside the band: moved to the comment
            const std::string comment = tp["comment"];
            tp["comment"] = comment + (comment.empty() ? "" : "; ") + "freq " + frequency;
            tp["frequency"] = "0.000";
        }
    }
    int id = 1;
    for (Json& route : expected["routes"]) {
        route["id"] = id++;  // routes are numbered in order
        Json& points = route["points"];
        for (Json& point : points) {
            if (point["role"] == 3) point["role"] = 1;  // the flag has no column
        }
        if (points.empty()) continue;
        // A missing takeoff (landing) is written as a repeated start (finish).
        if (points.front()["role"] != 6)
            points.insert(points.begin(), Json{{"number", points.front()["number"]}, {"role", 6}});
        if (points.back()["role"] != 5)
            points.push_back(Json{{"number", points.back()["number"]}, {"role", 5}});
    }
    return expected;
}

void expectSameCoordinates(Json& expected, const Json& actual) {
    ASSERT_EQ(expected["turnpoints"].size(), actual["turnpoints"].size());
    for (size_t i = 0; i < expected["turnpoints"].size(); ++i) {
        for (const char* member : {"latitude", "longitude"}) {
            const float was = expected["turnpoints"][i][member];
            const float is = actual["turnpoints"][i][member];
            // Thousandths of a minute, and the float the file keeps.
            const double tolerance =
                0.0005 / 60 + (std::nextafter(std::fabs(is), 1000.0f) - std::fabs(is));
            EXPECT_LE(std::fabs(static_cast<double>(was) - is), tolerance) << i << " " << member;
            expected["turnpoints"][i][member] = is;
        }
    }
}

TEST(Cup, SampleTasksComeBackThroughCupAsTheyWere) {
    ScratchDir dir;
    std::vector<std::string> tasks;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(VELKANO_SOURCE_DIR) + "/examples")) {
        if (entry.path().extension() == ".rtx") tasks.push_back(entry.path().string());
    }
    const auto built = runVelkano({"build", kCorpus + "round-trip.json", "-o", dir.file("rt.rtx")});
    ASSERT_EQ(built.status, 0) << built.err;
    tasks.push_back(dir.file("rt.rtx"));
    for (const std::string& task : tasks) {
        const auto cup = runVelkano({"cup", task, "-o", dir.file("t.cup")});
        ASSERT_EQ(cup.status, 0) << cup.err;
        EXPECT_EQ(cup.err, "") << task;
        const auto back = runVelkano({"build", dir.file("t.cup"), "-o", dir.file("back.rtx")});
        ASSERT_EQ(back.status, 0) << back.err;
        EXPECT_EQ(back.err, "") << task;
        const Json actual = dump(dir.file("back.rtx"));
        Json expected = withoutWhatCupCannotHold(dump(task));
        expectSameCoordinates(expected, actual);
        EXPECT_EQ(actual, expected) << task;
    }
    // The file it writes, byte for byte, in both layouts.
    const auto current = runVelkano({"cup", dir.file("rt.rtx")});
    expectGolden("round-trip.cup", current.out);
    expectGolden("round-trip-11.cup",
                 runVelkano({"cup", dir.file("rt.rtx"), "--columns", "11"}).out);
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
    testenc::RouteRecordFields route;
    route.name = "lang";
    for (int i = 0; i < 40; ++i) route.listed.push_back({1 + i % 5});
    writeFileBytes(dir.file("t.top"), testenc::encodeTpFile(turnpoints));
    writeFileBytes(dir.file("t.rtx"), testenc::encodeTaskFile({route}));
    const auto run = runVelkano({"cup", dir.file("t.rtx")});
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(
        withoutDirectory(run.err, dir.file("")),
        "velkano: t.rtx: turnpoint 2 \"wende a\" is written as \"wende a (2)\": readers compare "
        "names without case and punctuation, and an earlier turnpoint has the same name\n"
        "velkano: t.rtx: turnpoint 3 \"WENDE A (2)\" is written as \"WENDE A (2) (2)\": readers "
        "compare names without case and punctuation, and an earlier turnpoint has the same name\n"
        "velkano: t.rtx: turnpoint 4 \"Pol\": latitude 91.000000, longitude 0.000000 lie outside "
        "the globe; left out, and so are the route points naming it\n"
        "velkano: t.rtx: route 1 \"lang\": 32 points from start to finish; XCSoar reads at most "
        "27\n");
    EXPECT_NE(run.out.find("\r\n\"TP 5\",,,0000.000N,00000.000E,0m,1,,,,,\"zwei Zeilen\",,\r\n"),
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
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        std::vector<std::string> args = {"build"};
        for (const std::string& arg : c.args)
            args.push_back(arg.starts_with("--") ? arg : kCorpus + arg);
        args.insert(args.end(), {"-o", dir.file("t.rtx")});
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

TEST(Cup, ImportNotesOfOneKindBeyondFiveAreCounted) {
    ScratchDir dir;
    std::string cup = "name,lat,lon,desc\n";
    for (int i = 0; i < 8; ++i)
        cup += "P" + std::to_string(i) + ",5000.000N,01000.000E," + std::string(100, 'd') + "\n";
    writeFileText(dir.file("long.cup"), cup);
    const auto run = runVelkano({"build", dir.file("long.cup"), "-o", dir.file("t.rtx")});
    EXPECT_EQ(run.status, 0);
    const std::string file = "velkano: " + dir.file("long.cup");
    std::string expected;
    for (int line = 2; line <= 6; ++line)
        expected += file + ":" + std::to_string(line) +
                    ": column desc: longer than 99 characters; the file keeps the first 99\n";
    expected += file +
                ": 3 more notes of the kind above not shown: texts longer than their field in "
                "column desc\n";
    EXPECT_EQ(run.err, expected);
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
