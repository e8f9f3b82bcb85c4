#include "formats/task_json.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "formats/igc_text.h"
#include "formats/json_text.h"
#include "formats/route_layout.h"
#include "formats/view_page.h"

using namespace velkano::tool;

namespace {

struct Refusal {
    std::string pointer;
    std::string message;
};

// The JsonError that reading text as a task, then laying out its routes, raises.
Refusal refusalOf(const std::string& text) {
    try {
        const TaskDocument task = taskFromJson(parseJson(text));
        routesForWriting(task);
    } catch (const JsonError& e) {
        return {e.pointer(), e.what()};
    }
    return {"(accepted)", ""};
}

std::string manyTurnpoints(size_t count) {
    std::string text = R"({"turnpoints":[)";
    for (size_t i = 0; i < count; ++i) text += (i ? ",{}" : "{}");
    return text + "]}";
}

TEST(TaskJson, RefusesWithThePathOfTheOffendingItem) {
    struct Case {
        const char* json;
        const char* pointer;
        const char* message;  // start of the message
    };
    const Case cases[] = {
        {R"([])", "", "expected a JSON object"},
        {R"({"turnpoint":[]})", "/turnpoint", "unknown member"},
        {R"({"turnpoints":[{"nmae":"A"}]})", "/turnpoints/0/nmae", "unknown member"},
        {R"({"routes":[{"id":1,"point":[]}]})", "/routes/0/point", "unknown member"},
        {R"({"routes":[{"points":[{"number":1,"rolle":4}]}]})", "/routes/0/points/0/rolle",
         "unknown member"},
        {R"({"turnpoints":{}})", "/turnpoints", "expected an array"},
        {R"({"turnpoints":[[]]})", "/turnpoints/0", "expected an object"},
        {R"({"turnpoints":[{"elevation":"450"}]})", "/turnpoints/0/elevation",
         "expected an integer"},
        {R"({"turnpoints":[{"elevation":450.0}]})", "/turnpoints/0/elevation",
         "expected an integer"},
        {R"({"turnpoints":[{"name":null}]})", "/turnpoints/0/name", "expected a string"},
        {R"({"turnpoints":[{"latitude":"47"}]})", "/turnpoints/0/latitude", "expected a number"},
        {R"({"turnpoints":[{"number":2147483648}]})", "/turnpoints/0/number",
         "2147483648 is out of range"},
        {R"({"turnpoints":[{"number":18446744073709551615}]})", "/turnpoints/0/number",
         "18446744073709551615 is out of range"},
        {R"({"routes":[{"id":-2147483649}]})", "/routes/0/id", "-2147483649 is out of range"},
        {R"({"turnpoints":[{"kind":2}]})", "/turnpoints/0/kind", "2 is not one of 1, 4, 5"},
        {R"({"turnpoints":[{"surface":2}]})", "/turnpoints/0/surface",
         "2 is not one of 0, 1, 3, 5"},
        {R"({"turnpoints":[{"markFlag":2}]})", "/turnpoints/0/markFlag",
         "2 is out of range (0 to 1)"},
        {R"({"turnpoints":[{"runwayDirection":32768}]})", "/turnpoints/0/runwayDirection",
         "32768 is out of range"},
        {R"({"turnpoints":[{"elevation":16777217}]})", "/turnpoints/0/elevation",
         "16777217 is out of range"},
        {R"({"routes":[{"points":[{"role":2}]}]})", "/routes/0/points/0/role",
         "2 is not one of 1, 3, 4, 5, 6, 7"},
        {R"({"turnpoints":[{"name":"Beijing 北京"}]})", "/turnpoints/0/name",
         "character U+5317 has no windows-1252 byte"},
        {R"({"routes":[{"name":"a\u0000b"}]})", "/routes/0/name",
         "a text cannot hold the character U+0000"},
        {R"({"turnpoints":[{"number":5},{"number":6},{"number":5}]})", "/turnpoints/2/number",
         "turnpoint number 5 is already used by /turnpoints/0"},
        {R"({"turnpoints":[{"number":5}],"routes":[{},{"points":[{"number":5},{"number":7}]}]})",
         "/routes/1/points/1/number", "no turnpoint has the number 7"},
        {R"({"turnpoints":[{"number":5}],"routes":[{"points":[{"number":5,"role":6},{"number":5,"role":6}]}]})",
         "/routes/0/points/1/role", "a second before-start point"},
        {R"({"turnpoints":[{"number":5}],"routes":[{"points":[{"number":5,"role":5},{"number":5,"role":5}]}]})",
         "/routes/0/points/1/role", "a second after-finish point"},
        {R"({"turnpoints":[{"name":"A","name":"B"}]})", "/turnpoints/0/name", "member named twice"},
        {R"({"routes":[{"points":[{},{"role":1,"role":3}]}]})", "/routes/0/points/1/role",
         "member named twice"},
        {R"({"turnpoints":[{"name":"A"}],)", "", "invalid JSON: parse error at line 1, column 30"},
        {R"({"turnpoints":[{"latitude":1e39}]})", "", "invalid JSON: number overflow"},
    };
    for (const Case& c : cases) {
        const Refusal refusal = refusalOf(c.json);
        EXPECT_EQ(refusal.pointer, c.pointer) << c.json;
        EXPECT_EQ(refusal.message.rfind(c.message, 0), 0u)
            << c.json << "\n  gave: " << refusal.message;
    }
}

TEST(TaskJson, RefusesMoreTurnpointsOrRoutesThanAFileHolds) {
    EXPECT_EQ(refusalOf(manyTurnpoints(velkano::kMaxRecordCount)).pointer, "(accepted)");
    const Refusal tooMany = refusalOf(manyTurnpoints(velkano::kMaxRecordCount + 1));
    EXPECT_EQ(tooMany.pointer, "/turnpoints");
    EXPECT_EQ(tooMany.message, "16385 turnpoints; a task file holds at most 16384");

    std::string routes = R"({"routes":[{})";
    for (int i = 0; i < velkano::kMaxRecordCount; ++i) routes += ",{}";
    EXPECT_EQ(refusalOf(routes + "]}").pointer, "/routes");
}

TEST(TaskJson, LeftOutMembersTakeTheDefaultsOfFreshRecords) {
    const TaskDocument task =
        taskFromJson(parseJson(R"({"turnpoints":[{}],"routes":[{"points":[{}]}]})"));
    const FIO_TPEntry fresh{};
    ASSERT_EQ(task.turnpoints.size(), 1u);
    const FIO_TPEntry& entry = task.turnpoints[0];
    EXPECT_EQ(entry.number, fresh.number);
    EXPECT_EQ(entry.kind, fresh.kind);
    EXPECT_EQ(entry.surface, fresh.surface);
    EXPECT_EQ(entry.name, "");
    EXPECT_EQ(entry.latitude, 0.0f);
    ASSERT_EQ(task.routes.size(), 1u);
    EXPECT_EQ(task.routes[0].id, 0);
    EXPECT_EQ(task.routes[0].name, "");
    ASSERT_EQ(task.routes[0].points.size(), 1u);
    EXPECT_EQ(task.routes[0].points[0].number, -1);
    EXPECT_EQ(task.routes[0].points[0].role, 1);
    EXPECT_TRUE(taskFromJson(parseJson("{}")).turnpoints.empty());
}

TEST(TaskJson, TextsAreWindows1252InRecordsAndUtf8InJson) {
    const TaskDocument task = taskFromJson(parseJson(R"({"turnpoints":[{"name":"Öhringen €"}]})"));
    EXPECT_EQ(task.turnpoints[0].name, "\xD6hringen \x80");
    EXPECT_EQ(turnpointToJson(task.turnpoints[0])["name"], "Öhringen €");
}

TEST(RouteLayout, PlacesPointsByRoleAndRenumbersByPosition) {
    struct Case {
        const char* points;
        std::vector<std::pair<int32_t, int32_t>> expected;  // number, role as written
    };
    const Case cases[] = {
        {R"([{"number":30,"role":5},{"number":10,"role":4},{"number":20,"role":3},{"number":10,"role":7},{"number":20,"role":6}])",
         {{2, 6}, {1, 4}, {2, 3}, {1, 7}, {3, 5}}},
        {R"([{"number":10,"role":4},{"number":30,"role":7}])", {{-1, 6}, {1, 4}, {3, 7}, {-1, 5}}},
        {R"([{"number":-7,"role":4},{"number":20}])", {{-1, 6}, {-7, 4}, {2, 1}, {-1, 5}}},
        {R"([{"number":20,"role":6}])", {{2, 6}, {-1, 5}}},
        {R"([])", {{-1, 6}, {-1, 5}}},
    };
    for (const Case& c : cases) {
        const std::string json =
            std::string(R"({"turnpoints":[{"number":10},{"number":20},{"number":30}],)") +
            R"("routes":[{"id":4,"name":"R","points":)" + c.points + "}]}";
        const auto routes = routesForWriting(taskFromJson(parseJson(json)));
        ASSERT_EQ(routes.size(), 1u);
        EXPECT_EQ(routes[0]->id, 4);
        EXPECT_EQ(routes[0]->name, "R");
        std::vector<std::pair<int32_t, int32_t>> written;
        for (const FIO_TPEntry* point : routes[0]->points)
            written.emplace_back(point->number, point->role);
        EXPECT_EQ(written, c.expected) << c.points;
    }
}

TEST(TaskJson, NegativeTurnpointNumbersNeedNotBeUnique) {
    const auto task = taskFromJson(parseJson(R"({"turnpoints":[{},{"number":-3},{}]})"));
    EXPECT_TRUE(routesForWriting(task).empty());
    EXPECT_EQ(task.turnpoints.size(), 3u);
}

TEST(TaskJson, PrintedInBlocksItIsTheWholeDocumentsText) {
    const std::string routes =
        R"("routes":[{"points":[]},{"id":2,"name":"R\u00d6","points":[{"number":1},{"number":2,"role":7}]}])";
    const std::string many = manyTurnpoints(3000);
    const std::string texts[] = {"{}", "{" + routes + "}", many,
                                 many.substr(0, many.size() - 1) + "," + routes + "}"};
    for (const std::string& text : texts) {
        const TaskDocument task = taskFromJson(parseJson(text));
        std::string printed;
        size_t blocks = 0;
        writeTaskJson(task, [&](const std::string& block) {
            printed += block;
            ++blocks;
        });
        EXPECT_EQ(printed, formatJson(taskToJson(task))) << text.substr(0, 40);
        if (task.turnpoints.size() == 3000) {
            EXPECT_GT(blocks, 1u);
        }
    }
}

TEST(JsonText, PrintsFloatsAsTheShortestDecimalThatReadsBack) {
    std::mt19937 generator(12345);
    std::uniform_real_distribution<float> coordinate(-180.0f, 180.0f);
    for (int i = 0; i < 20000; ++i) {
        float value = coordinate(generator);
        if (i % 4 == 0) {
            uint32_t bits = static_cast<uint32_t>(generator());
            std::memcpy(&value, &bits, sizeof value);
            if (!std::isfinite(value)) continue;
        }
        Json document = Json::object();
        document["latitude"] = value;
        const std::string text = formatJson(document);
        char expected[32];
        const auto end = std::to_chars(expected, expected + sizeof expected, value).ptr;
        ASSERT_EQ(text, "{\"latitude\": " + std::string(expected, end) + "}\n");
        const float back = parseJson(text)["latitude"].get<float>();
        ASSERT_EQ(std::memcmp(&back, &value, sizeof value), 0) << text;
    }
}

TEST(JsonText, FormattedTextReadsBackAsTheSameDocument) {
    const Json document = parseJson(
        R"({"a":[1,-2,{"b":"x\"y\\z\u0001"}],"c":{},"d":[],"e":"Ö","f":[{"number":1,"role":4}],"g":0.1})");
    const std::string text = formatJson(document);
    EXPECT_EQ(parseJson(text), document);
    EXPECT_NE(text.find(R"({"number": 1, "role": 4})"), std::string::npos) << text;
}

// The view data is written a number at a time; it must be what the library prints of the same
// values, byte for byte, names with markup and all.
TEST(ViewData, WrittenAsTextItIsTheLibrarysOwnPrintOfTheData) {
    std::mt19937 generator(2024);
    std::uniform_int_distribution<int> digit(0, 9);
    std::string igc =
        "AXSXABC\nHFDTE150423\nHFPLTPILOT:J\xF6rg <b>&</b>\n"
        "C150423120000000000000002\nC4730000N00815000EHome\nC4740123S12345678WTurn <i>\n";
    // B HHMMSS DDMMmmmN DDDMMmmmE A PPPPP GGGGG, coordinates of random digits.
    for (int i = 0; i < 2000; ++i) {
        igc += "B120000";
        for (const int width : {7, 8}) {
            for (int d = 0; d < width; ++d) igc += static_cast<char>('0' + digit(generator));
            igc += width == 7 ? (i % 2 ? 'N' : 'S') : (i % 3 ? 'E' : 'W');
        }
        igc += "A01234-0123\n";
    }
    const IgcFlightText flight = parseIgcText(igc);
    ViewData data;
    data.addFlight(flight, "a <b>.flt", 2);
    data.addTask(taskFromJson(parseJson(R"({"turnpoints":[{"name":"T &"}]})")), "t.rtx");
    const std::string json = data.json();
    const Json parsed = parseJson(json);
    EXPECT_EQ(parsed.dump(-1, ' ', false, Json::error_handler_t::replace), json);
    EXPECT_EQ(jsonForScript(json).find_first_of("<>&"), std::string::npos);
    // Coordinates to five decimals of a degree, each read back as the float it was.
    const Json& fixes = parsed["flights"][0]["fixes"];
    ASSERT_EQ(fixes["longitude"].size(), flight.fixes.size());
    for (size_t i = 0; i < flight.fixes.size(); ++i) {
        ASSERT_EQ(fixes["longitude"][i].get<float>(),
                  static_cast<float>(std::round(flight.fixes[i].longitude * 1e5) / 1e5));
    }
}

}  // namespace
