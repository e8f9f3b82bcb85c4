// velkano dump and velkano build, run as a user runs them.
#include <gtest/gtest.h>

#include <filesystem>

#include "host_test_support.h"
#include "formats/json_text.h"
#include "route_file_encoder.h"
#include "tool_run.h"

using namespace testing_support;
using namespace tooltest;
using velkano::tool::Json;
using velkano::tool::parseJson;

namespace {

// Members the driver stores as they are: shortName no longer than name, an ICAO code only on
// airfields, whole-number frequencies, surface 5 where no runway is given.
std::string turnpoint(int number, int kind, const std::string& name, const std::string& shortName,
                      const std::string& icao, const std::string& more) {
    Json tp =
        parseJson(R"({"number":0,"kind":1,"name":"","shortName":"","comment":"","elevation":0,)"
                  R"("markFlag":0,"latitude":0,"longitude":0,"icaoCode":"","frequency":"0.000",)"
                  R"("runwayLength":0,"runwayDirection":0,"surface":5})");
    tp["number"] = number;
    tp["kind"] = kind;
    tp["name"] = name;
    tp["shortName"] = shortName;
    tp["icaoCode"] = icao;
    const Json extra = parseJson("{" + more + "}");
    for (const auto& [member, value] : extra.items()) tp[member] = value;
    return tp.dump();
}

std::string taskJson() {
    return R"({"turnpoints":[)" +
           turnpoint(
               100, 256, "Öhringen – Flugplatz", "ÖHR", "EDXY",
               R"("comment":"Gras, 5 € Landegebühr","elevation":450,"markFlag":1,"latitude":49.2069,)"
               R"("longitude":9.5166,"frequency":"122.000","runwayLength":800,"runwayDirection":250,"surface":1)") +
           "," +
           turnpoint(200, 1, "Wendepunkt Süd", "WPS", "",
                     R"("latitude":-33.25,"longitude":-70.125)") +
           "," + turnpoint(300, 8, "Ziel \u0081\u008D\u008F\u0090\u009D", "Z", "", "") + "," +
           turnpoint(400, 4, "Œuvre Ž š", "", "", R"("elevation":-3)") +
           R"(],"routes":[)"
           R"({"id":7,"name":"Dreieck „300“","points":[{"number":300,"role":6},{"number":100,"role":4},)"
           R"({"number":200,"role":3},{"number":400,"role":1},{"number":100,"role":7},{"number":300,"role":5}]},)"
           R"({"id":-5,"name":"nur Start","points":[{"number":200,"role":4}]},)"
           R"({"id":9,"name":"","points":[]}]})";
}

// taskJson() as the files give it back: turnpoints numbered by position, the lone start point of
// route -5 read as the route's only listed point.
Json expectedDump() {
    Json expected = parseJson(taskJson());
    int position = 1;
    std::map<int, int> renumbered;
    for (Json& tp : expected["turnpoints"]) {
        renumbered[tp["number"].get<int>()] = position;
        tp["number"] = position++;
    }
    for (Json& route : expected["routes"]) {
        for (Json& point : route["points"])
            point["number"] = renumbered.at(point["number"].get<int>());
    }
    return expected;
}

TEST(DumpBuild, BuildThenDumpGivesBackTheDocumentRenumbered) {
    ScratchDir dir;
    writeFileText(dir.file("in.json"), taskJson());
    const auto build = runVelkano({"build", dir.file("in.json"), "-o", dir.file("task.rtx")});
    ASSERT_EQ(build.status, 0) << build.err;
    EXPECT_EQ(build.out + build.err, "");
    EXPECT_EQ(listDirectory(dir.path().string()),
              (std::vector<std::string>{"in.json", "task.rtx", "task.top"}));

    const auto dump = runVelkano({"dump", dir.file("task.rtx")});
    ASSERT_EQ(dump.status, 0) << dump.err;
    EXPECT_EQ(dump.err, "");
    EXPECT_EQ(parseJson(dump.out), expectedDump()) << dump.out;

    // What dump prints builds back to the same bytes.
    writeFileText(dir.file("dumped.json"), dump.out);
    ASSERT_EQ(runVelkano({"build", dir.file("dumped.json"), "-o", dir.file("again.rtx")}).status,
              0);
    EXPECT_EQ(readFileText(dir.file("again.rtx")), readFileText(dir.file("task.rtx")));
    EXPECT_EQ(readFileText(dir.file("again.top")), readFileText(dir.file("task.top")));

    const auto toFile = runVelkano({"dump", dir.file("task.rtx"), "-o", dir.file("out.json")});
    ASSERT_EQ(toFile.status, 0) << toFile.err;
    EXPECT_EQ(toFile.out, "");
    EXPECT_EQ(readFileText(dir.file("out.json")), dump.out);
}

// The page carries each task file as dump prints it, in a script element its texts cannot end;
// a build without the web libraries says it has no page. No page is left by a failed run.
TEST(DumpBuild, ViewEmbedsWhatDumpPrints) {
    ScratchDir dir;
    writeFileText(dir.file("in.json"),
                  R"({"turnpoints":[{"number":1,"name":"</script><!--","latitude":47.5}],)"
                  R"("routes":[{"name":"a & \"b\" <c>","points":[{"number":1}]}]})");
    ASSERT_EQ(runVelkano({"build", dir.file("in.json"), "-o", dir.file("t.rtx")}).status, 0);
    const auto view = runVelkano({"view", dir.file("t.rtx"), "-o", dir.file("page.html")});
#if VELKANO_HAS_VIEW_PAGE
    ASSERT_EQ(view.status, 0) << view.err;
    const std::string page = readFileText(dir.file("page.html"));
    const std::string open = "<script type=\"application/json\" id=\"velkano-data\">";
    const size_t start = page.find(open) + open.size();
    ASSERT_NE(start, std::string::npos + open.size());
    const std::string data = page.substr(start, page.find("</script>", start) - start);
    EXPECT_EQ(data.find_first_of("<>&"), std::string::npos) << data;
    const Json dumped = parseJson(runVelkano({"dump", dir.file("t.rtx")}).out);
    const Json shown = parseJson(data);
    EXPECT_EQ(shown["tasks"][0]["file"], "t.rtx");
    EXPECT_EQ(shown["tasks"][0]["turnpoints"], dumped["turnpoints"]);
    EXPECT_EQ(shown["tasks"][0]["routes"], dumped["routes"]);
    EXPECT_EQ(shown["flights"], Json::array());
#else
    EXPECT_EQ(view.status, 1);
    EXPECT_NE(view.err.find("has no view page"), std::string::npos) << view.err;
#endif
    const auto missing =
        runVelkano({"view", dir.file("t.rtx"), dir.file("none.flt"), "-o", dir.file("bad.html")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("bad.html")));
    const auto overInput = runVelkano({"view", dir.file("t.rtx"), "-o", dir.file("t.top")});
    EXPECT_EQ(overInput.status, 1);
    EXPECT_EQ(listDirectory(dir.path().string()).size(), VELKANO_HAS_VIEW_PAGE ? 4u : 3u);
}

TEST(DumpBuild, TextsAreStoredAsWindows1252) {
    ScratchDir dir;
    writeFileText(dir.file("in.json"),
                  R"({"turnpoints":[{"name":"Ö€\u009D"}],"routes":[{"name":"„x“"}]})");
    ASSERT_EQ(runVelkano({"build", dir.file("in.json"), "-o", dir.file("t.rtx")}).status, 0);
    const std::string tp = readFileText(dir.file("t.top"));
    EXPECT_NE(tp.find(std::string("\xD6\x80\x9D\0", 4)), std::string::npos);
    EXPECT_NE(readFileText(dir.file("t.rtx")).find(std::string("\x84x\x93\0", 4)),
              std::string::npos);
}

TEST(DumpBuild, BuildSaysWhichTextsTheFilesCut) {
    ScratchDir dir;
    const std::string name(30, 'N');
    const std::string comment = std::string(98, 'c') + "é";
    writeFileText(dir.file("in.json"), R"({"turnpoints":[{"name":")" + name + R"(","comment":")" +
                                           comment + R"("}],"routes":[{"name":")" +
                                           std::string(201, 'R') + R"("}]})");
    const auto run = runVelkano({"build", dir.file("in.json"), "-o", dir.file("t.rtx")});
    EXPECT_EQ(run.status, 0);
    const std::string prefix = "velkano: " + dir.file("in.json") + ": ";
    EXPECT_EQ(
        run.err,
        prefix + "/turnpoints/0/name: longer than 29 characters; the file keeps the first 29\n" +
            prefix + "/routes/0/name: longer than 200 characters; the file keeps the first 200\n");
    const Json dumped = parseJson(runVelkano({"dump", dir.file("t.rtx")}).out);
    EXPECT_EQ(dumped["turnpoints"][0]["name"],
              name.substr(0, velkano::longestText(velkano::kTurnpointNameWidth)));
    EXPECT_EQ(dumped["turnpoints"][0]["comment"], comment);
    EXPECT_EQ(dumped["routes"][0]["name"],
              std::string(velkano::longestText(velkano::kRouteNameWidth), 'R'));
}

TEST(DumpBuild, BuildRefusesBadDocumentsAndWritesNothing) {
    struct Case {
        std::string json;
        std::string message;  // after "velkano: FILE: "
    };
    const Case cases[] = {
        {R"({"turnpoints":[{"name":"A"},)", "invalid JSON: parse error at line 1"},
        {R"({"turnpoints":[{"nmae":"A"}]})", "/turnpoints/0/nmae: unknown member"},
        {R"({"turnpoints":[{"name":7}]})", "/turnpoints/0/name: expected a string"},
        {R"({"routes":[{"id":4294967296}]})", "/routes/0/id: 4294967296 is out of range"},
        {R"({"turnpoints":[{"name":"東"}]})",
         "/turnpoints/0/name: character U+6771 has no windows-1252 byte"},
        {R"({"turnpoints":[{"number":1},{"number":1}]})",
         "/turnpoints/1/number: turnpoint number 1 is already used"},
        {R"({"turnpoints":[{"number":1}],"routes":[{"points":[{"number":2}]}]})",
         "/routes/0/points/0/number: no turnpoint has the number 2"},
        {R"({"turnpoints":[{"latitude":90.5}]})", "/turnpoints/0/latitude: out of range -90..90"},
        {R"({"turnpoints":[{"longitude":-180.01}]})",
         "/turnpoints/0/longitude: out of range -180..180"},
        {std::string("Velkano TASK File") + std::string(40, '\0'),
         "is a task file, not JSON; velkano build reads the JSON velkano dump writes"},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        writeFileText(dir.file("in.json"), c.json);
        // An earlier build's files stay as they were.
        writeFileText(dir.file("t.rtx"), "old task");
        writeFileText(dir.file("t.top"), "old turnpoints");
        const auto run = runVelkano({"build", dir.file("in.json"), "-o", dir.file("t.rtx")});
        EXPECT_EQ(run.status, 1) << c.json;
        EXPECT_EQ(run.err.rfind("velkano: " + dir.file("in.json") + ": " + c.message, 0), 0u)
            << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(listDirectory(dir.path().string()),
                  (std::vector<std::string>{"in.json", "t.rtx", "t.top"}));
        EXPECT_EQ(readFileText(dir.file("t.rtx")), "old task");
        EXPECT_EQ(readFileText(dir.file("t.top")), "old turnpoints");
    }
}

TEST(DumpBuild, BuildRefusesOutputsThatWouldReplaceItsInputOrEachOther) {
    ScratchDir dir;
    writeFileText(dir.file("t.json"), "{}");
    writeFileText(dir.file("x.top"), "{}");
    struct Case {
        std::string input;
        std::string output;
        std::string message;
    };
    const Case cases[] = {
        {dir.file("t.json"), dir.file("t.json"), "would write over the input file"},
        {dir.file("x.top"), dir.file("x.rtx"), "would write over the input file"},
        {dir.file("t.json"), dir.file("y.TOP"), "a task file cannot end in .top"},
    };
    for (const Case& c : cases) {
        const auto run = runVelkano({"build", c.input, "-o", c.output});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err.rfind("velkano: " + c.output + ": " + c.message, 0), 0u) << run.err;
    }
    EXPECT_EQ(readFileText(dir.file("t.json")), "{}");
    EXPECT_EQ(listDirectory(dir.path().string()), (std::vector<std::string>{"t.json", "x.top"}));
}

// A task file of two routes and its companion of two turnpoints, from our own encoders.
struct EncodedTask {
    std::vector<uint8_t> task;
    std::vector<uint8_t> turnpoints;
    size_t secondRouteAt = 0;
    size_t secondTurnpointAt = 0;
};

EncodedTask encodedTask() {
    testenc::TpRecordFields first;
    first.number = 1;
    first.name = "Alpha";
    first.runways.push_back({800.0, 250, 'G'});
    testenc::TpRecordFields second = first;
    second.number = 2;
    second.runways.clear();
    testenc::RouteRecordFields route;
    route.id = 1;
    route.listed = {{1, 0}, {2, 0}};
    route.name = "R";
    EncodedTask encoded;
    encoded.turnpoints = testenc::encodeTpFile({first, second});
    encoded.task = testenc::encodeTaskFile({route, route});
    encoded.secondTurnpointAt = testenc::kFileHeaderSize + testenc::tpRecordSize(5, 0, 1);
    encoded.secondRouteAt = testenc::kFileHeaderSize + testenc::routeRecordSize(5, 2);
    return encoded;
}

TEST(DumpBuild, DumpNamesTheFileRecordAndOffsetOfMalformedInput) {
    ScratchDir dir;
    const EncodedTask good = encodedTask();
    struct Case {
        const char* what;
        bool inTurnpointFile;
        size_t at;
        std::vector<uint8_t> bytes;
        std::string message;
    };
    const Case cases[] = {
        {"route tag",
         false,
         good.secondRouteAt,
         {'x', 0},
         "bad object (route 2, byte " + std::to_string(good.secondRouteAt) + ")"},
        {"point tag",
         false,
         good.secondRouteAt + 19,
         {'x', 0},
         "bad object (route 2, byte " + std::to_string(good.secondRouteAt + 19) + ")"},
        {"task count", false, 54, {0x01, 0x40}, "bad file (header, byte 54)"},
        {"turnpoint tag", true, good.secondTurnpointAt, {'x', 0}, "bad object (turnpoint 2)"},
        {"turnpoint count", true, 54, {0x01, 0x40}, "bad file (header)"},
        {"point number",
         false,
         good.secondRouteAt + 21,
         {7, 0},
         "route 2 (\"R\"), point 1: no turnpoint 7 in " + dir.file("t.top")},
        {"flight magic",
         false,
         0,
         {'V', 'e', 'l', 'k', 'a', 'n', 'o', ' ', 'F', 'l',
          'i', 'g', 'h', 't', ' ', 'F', 'i', 'l', 'e', 0},
         "is a flight file; use velkano igc or velkano list"},
    };
    for (const Case& c : cases) {
        EncodedTask bad = good;
        std::vector<uint8_t>& file = c.inTurnpointFile ? bad.turnpoints : bad.task;
        std::copy(c.bytes.begin(), c.bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(c.at));
        writeFileBytes(dir.file("t.rtx"), bad.task);
        writeFileBytes(dir.file("t.top"), bad.turnpoints);
        const auto run = runVelkano({"dump", dir.file("t.rtx"), "-o", dir.file("t.json")});
        EXPECT_EQ(run.status, 1) << c.what;
        const std::string file_ = dir.file(c.inTurnpointFile ? "t.top" : "t.rtx");
        EXPECT_EQ(run.err, "velkano: " + file_ + ": " + c.message + "\n") << c.what;
        EXPECT_EQ(listDirectory(dir.path().string()), (std::vector<std::string>{"t.rtx", "t.top"}))
            << c.what;
    }
    writeFileBytes(dir.file("t.rtx"), good.task);
    writeFileBytes(dir.file("t.top"), good.turnpoints);
    const auto run = runVelkano({"dump", dir.file("t.rtx")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(parseJson(run.out)["routes"].size(), 2u);
}

TEST(DumpBuild, DumpReportsMissingFilesAndRefusesToWriteOverItsInputs) {
    ScratchDir dir;
    const EncodedTask good = encodedTask();
    writeFileBytes(dir.file("t.rtx"), good.task);

    auto run = runVelkano({"dump", dir.file("none.rtx")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "velkano: " + dir.file("none.rtx") + ": No such file or directory\n");

    run = runVelkano({"dump", dir.file("t.rtx")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "velkano: " + dir.file("t.top") + ": No such file or directory\n");
    EXPECT_EQ(run.out, "");

    writeFileBytes(dir.file("t.top"), good.turnpoints);
    for (const char* output : {"t.rtx", "t.top"}) {
        run = runVelkano({"dump", dir.file("t.rtx"), "-o", dir.file(output)});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "velkano: " + dir.file(output) +
                               ": is an input file; refusing to write over it\n");
    }
    EXPECT_EQ(readFileBytes(dir.file("t.rtx")), good.task);
    EXPECT_EQ(readFileBytes(dir.file("t.top")), good.turnpoints);
}

// On file systems that tell case apart the companion takes the case of the task file's
// extension when written, and is found whatever its case when read, unless that is ambiguous.
TEST(DumpBuild, CompanionsOfUpperCaseTaskFilesAreFoundAndWrittenInTheirCase) {
#if defined(_WIN32)
    GTEST_SKIP() << "Windows file names ignore case";
#else
    ScratchDir dir;
    const std::string sample = std::string(VELKANO_SOURCE_DIR) + "/examples/club_tasks.json";
    ASSERT_EQ(runVelkano({"build", sample, "-o", dir.file("TASKS.RTX")}).status, 0);
    ASSERT_EQ(runVelkano({"build", sample, "-o", dir.file("Mixed.Rtx")}).status, 0);
    EXPECT_EQ(listDirectory(dir.path().string()),
              (std::vector<std::string>{"Mixed.Rtx", "Mixed.top", "TASKS.RTX", "TASKS.TOP"}));
    const auto expected = runVelkano({"dump", dir.file("TASKS.RTX")});
    ASSERT_EQ(expected.status, 0) << expected.err;

    std::filesystem::rename(dir.file("TASKS.TOP"), dir.file("tasks.top"));
    const auto lower = runVelkano({"dump", dir.file("TASKS.RTX")});
    EXPECT_EQ(lower.status, 0) << lower.err;
    EXPECT_EQ(lower.out, expected.out);

    std::filesystem::copy_file(dir.file("tasks.top"), dir.file("Tasks.Top"));
    const auto twoCandidates = runVelkano({"dump", dir.file("TASKS.RTX")});
    EXPECT_EQ(twoCandidates.status, 1);
    EXPECT_EQ(twoCandidates.err,
              "velkano: " + dir.file("TASKS.top") + ": No such file or directory\n");
#endif
}

TEST(DumpBuild, UsageErrorsExitWithTwo) {
    const std::vector<std::vector<std::string>> usages = {
        {},
        {"dump"},
        {"build", "x.json"},
        {"frobnicate"},
        {"dump", "a.rtx", "--bogus"},
        {"igc"},
        {"igc", "a.flt", "--line-ending", "cr"},
        {"igc", "a.flt", "-o", "/nonexistent/dir"},
        {"view", "a.rtx"},
        {"build", "x.json", "-o", "-"},
        {"igc", "a.flt", "--text", "latin1"},
        {"build", "a.cup", "b.json", "-o", "t.rtx"},
        {"build", "a.json", "b.json", "-o", "t.rtx"},
        {"build", "a.json", "--strict", "-o", "t.rtx"},
        {"cup", "a.rtx", "--columns", "12"},
    };
    for (const auto& args : usages) {
        const auto run = runVelkano(args);
        EXPECT_EQ(run.status, 2) << (args.empty() ? "(none)" : args[0]) << " " << run.err;
    }
    for (const char* command : {"dump", "build", "igc", "view", "cup"}) {
        const auto help = runVelkano({command, "--help"});
        EXPECT_EQ(help.status, 0);
        EXPECT_NE(help.out.find("Usage:"), std::string::npos);
    }
}

}  // namespace
