// Every sample file cut short, read as velkano reads it: a cut that loses data is refused,
// keeping only the flights before the cut; a cut of bytes no reader reaches changes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "host/driver_library.h"
#include "host/flight_reader.h"
#include "host_test_support.h"
#include "route_file_encoder.h"
#include "formats/json_text.h"
#include "host/task_reader.h"
#include "io/tool_error.h"

using testing_support::readFileBytes;
using testing_support::ScratchDir;
using testing_support::writeFileBytes;
using namespace velkano::tool;

namespace {

const std::string kExamples = std::string(VELKANO_SOURCE_DIR) + "/examples/";
// Files up to this size are cut at every length, larger ones at about kLargeFileCuts.
constexpr size_t kEveryLengthUpTo = 4096;
constexpr size_t kLargeFileCuts = 128;

std::vector<size_t> cutLengths(size_t size) {
    const size_t step = size <= kEveryLengthUpTo ? 1 : size / kLargeFileCuts;
    std::set<size_t> lengths;
    for (size_t length = 0; length < size; length += step) lengths.insert(length);
    // Around the end, where trailers and last fields lie, every length.
    for (size_t length = size > 64 ? size - 64 : 0; length < size; ++length) lengths.insert(length);
    return {lengths.begin(), lengths.end()};
}

std::vector<uint8_t> prefix(const std::vector<uint8_t>& bytes, size_t length) {
    return std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
}

// The IGC texts of the flights read, and whether reading refused the file.
std::pair<std::vector<std::string>, bool> flightsOf(DriverLibrary& driver,
                                                    const std::string& path) {
    std::vector<std::string> texts;
    try {
        readFlights(driver, path, [&](int, std::string_view igc) {
            texts.emplace_back(igc);
            return true;
        });
        return {texts, false};
    } catch (const ToolError&) {
        return {texts, true};
    }
}

std::string taskJsonOf(DriverLibrary& driver, const std::string& path) {
    try {
        return formatJson(taskToJson(readTaskFile(driver, path)));
    } catch (const ToolError&) {
        return "refused";
    }
}

TEST(CutInputs, EverySampleFlightFileCutShortKeepsOnlyTheFlightsBeforeTheCut) {
    DriverLibrary driver(std::string(VELKANO_DRIVER_DIR) + "/Velkano17Flt.drf");
    ScratchDir dir;
    for (const char* sample : {"club_day.flt", "midnight_task.flt"}) {
        const auto bytes = readFileBytes(kExamples + sample);
        const auto [whole, wholeRefused] = flightsOf(driver, kExamples + sample);
        ASSERT_FALSE(wholeRefused) << sample;
        bool sound = false;  // once a cut reads like the whole file, longer cuts must as well
        for (const size_t length : cutLengths(bytes.size())) {
            writeFileBytes(dir.file("cut.flt"), prefix(bytes, length));
            const auto [texts, refused] = flightsOf(driver, dir.file("cut.flt"));
            if (refused) {
                EXPECT_FALSE(sound) << sample << " cut at " << length << " refused";
                ASSERT_LT(texts.size(), whole.size()) << sample << " cut at " << length;
                EXPECT_TRUE(std::equal(texts.begin(), texts.end(), whole.begin()))
                    << sample << " cut at " << length;
            } else {
                EXPECT_TRUE(texts == whole) << sample << " cut at " << length << " passed";
                sound = true;
            }
        }
    }
}

TEST(CutInputs, EverySampleTaskOrTurnpointFileCutShortIsRefused) {
    DriverLibrary driver(std::string(VELKANO_DRIVER_DIR) + "/Velkano17Rte.drf");
    ScratchDir dir;
    const auto task = readFileBytes(kExamples + "club_tasks.rtx");
    const auto turnpoints = readFileBytes(kExamples + "club_tasks.top");
    const std::string whole = taskJsonOf(driver, kExamples + "club_tasks.rtx");
    ASSERT_NE(whole, "refused");
    for (const bool cutTask : {true, false}) {
        const auto& bytes = cutTask ? task : turnpoints;
        bool sound = false;
        for (const size_t length : cutLengths(bytes.size())) {
            writeFileBytes(dir.file("t.rtx"), cutTask ? prefix(task, length) : task);
            writeFileBytes(dir.file("t.top"), cutTask ? turnpoints : prefix(turnpoints, length));
            const std::string json = taskJsonOf(driver, dir.file("t.rtx"));
            const char* file = cutTask ? "task file" : "turnpoint file";
            if (json == "refused") {
                EXPECT_FALSE(sound) << file << " cut at " << length << " refused";
            } else {
                EXPECT_TRUE(json == whole) << file << " cut at " << length << " passed";
                sound = true;
            }
        }
        EXPECT_TRUE(sound) << "no cut of the trailer read like the whole file";
    }
}

// A task file may have no header at all, just the count, and be shorter than a header: the
// driver reads such files, so only what it reads strictly can be cut short.
TEST(CutInputs, HeaderlessTaskFilesShorterThanAHeaderAreReadAsTheDriverReadsThem) {
    DriverLibrary driver(std::string(VELKANO_DRIVER_DIR) + "/Velkano17Rte.drf");
    ScratchDir dir;
    testenc::RouteRecordFields route;
    route.version = 1;
    route.id = 7;
    testenc::FileFrameFields headerless;
    headerless.headerless = true;
    std::vector<uint8_t> oneRoute = testenc::encodeTaskFile({route}, headerless);
    std::vector<uint8_t> wrongTag = oneRoute;
    wrongTag[2] = 'x';
    std::vector<uint8_t> cut = prefix(oneRoute, oneRoute.size() - 1);
    struct Case {
        std::vector<uint8_t> bytes;
        std::string expected;  // the document's JSON, or the message of the refusal
    };
    const Case cases[] = {
        {cut, "file ends at byte " + std::to_string(cut.size()) + " inside route 1 (cut short?)"},
        {wrongTag, "bad object (route 1, byte 2)"},
        {{}, "file ends at byte 0 inside header (cut short?)"},
        {{1}, "file ends at byte 1 inside header (cut short?)"},
        {{0, 0}, R"({"turnpoints":[],"routes":[]})"},
        // A version-1 route has no name field: the driver names it by its id.
        {oneRoute, R"({"turnpoints":[],"routes":[{"id":7,"name":"Route_7","points":[]}]})"},
    };
    writeFileBytes(dir.file("t.top"), testenc::encodeTpFile({}));
    for (const Case& c : cases) {
        writeFileBytes(dir.file("t.rtx"), c.bytes);
        std::string result;
        try {
            result = taskToJson(readTaskFile(driver, dir.file("t.rtx"))).dump();
        } catch (const ToolError& e) {
            result = e.what();
        }
        EXPECT_EQ(result, c.expected) << c.bytes.size() << " bytes";
    }
}

}  // namespace
