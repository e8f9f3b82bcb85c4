// Nothing changes without a note: every CUP file of the corpus is built into a task file, written
// back as CUP and built again, and each difference between the rows and the first task file, and
// between the first task file and the second, must be named by a note of the run that made it.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <optional>

#include "formats/cp1252.h"
#include "formats/cup_fields.h"
#include "formats/cup_format.h"
#include "formats/cup_header.h"
#include "formats/cup_values.h"
#include "formats/json_text.h"
#include "golden.h"
#include "host_test_support.h"
#include "tool_run.h"

using namespace testing_support;
using namespace tooltest;
using namespace velkano::tool::cup;
using velkano::tool::Json;

namespace {

const std::string kCorpus = std::string(VELKANO_SOURCE_DIR) + "/tests/formats/cup/";

// The lines of a run's --notes all, before its report.
struct RunNotes {
    std::vector<std::string> lines;

    bool has(const std::string& start, const std::string& label) const {
        for (const std::string& line : lines) {
            if (line.starts_with(start) && line.find(label) != std::string::npos) return true;
        }
        return false;
    }
};

RunNotes run(const std::vector<std::string>& args) {
    std::vector<std::string> all = args;
    all.insert(all.end(), {"--notes", "all"});
    const ToolRun result = runVelkano(all);
    EXPECT_EQ(result.status, 0) << result.err;
    RunNotes notes;
    for (size_t at = 0, end; (end = result.err.find('\n', at)) != std::string::npos; at = end + 1) {
        const std::string line = result.err.substr(at, end - at);
        if (line.starts_with("velkano: ")) notes.lines.push_back(line.substr(9));
    }
    return notes;
}

Json dump(const std::string& task) {
    const ToolRun result = runVelkano({"dump", task});
    EXPECT_EQ(result.status, 0) << result.err;
    return velkano::tool::parseJson(result.out);
}

// A CUP row as the values it stands for: "column NAME", "column `SPELLING`" for a column not
// read, "field N" for a field in no column.
struct CupRow {
    size_t line;
    std::map<std::string, std::string> fields;
    std::string operator[](const std::string& key) const {
        const auto found = fields.find(key);
        return found == fields.end() ? "" : found->second;
    }
};

std::string utf8Of(const std::string& bytes) {
    if (auto utf16 = velkano::tool::decodeUtf16WithByteOrderMark(bytes)) return *utf16;
    const std::string text = bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes;
    return velkano::tool::isWellFormedUtf8(text) ? text : velkano::tool::decodeCp1252(text);
}

std::vector<CupRow> cupRows(const std::string& bytes) {
    const std::string text = utf8Of(bytes);
    std::vector<CupRow> rows;
    std::optional<Header> header;
    std::vector<std::string> names;  // the header's fields
    for (const TextLine& line : splitLines(text)) {
        const std::string_view content = trimmed(line.text);
        if (content.empty() || content.front() == '*') continue;
        if (lowered(content) == lowered(kTasksSeparator)) break;
        const std::vector<std::string> fields = splitFields(line.text);
        if (!header && (header = matchHeader(fields))) {
            names = fields;
            continue;
        }
        if (!header) header = classicHeader();
        CupRow row{line.number, {}};
        std::vector<bool> read(fields.size());
        for (int c = 0; c < kColumnCount; ++c) {
            const int at = header->columns[c];
            if (at < 0 || static_cast<size_t>(at) >= fields.size()) continue;
            row.fields[columnLabel(static_cast<Column>(c))] = fields[at];
            read[at] = true;
        }
        for (size_t i = 0; i < fields.size(); ++i) {
            if (read[i] || trimmed(fields[i]).empty()) continue;
            const bool named = i < names.size() && !trimmed(names[i]).empty();
            row.fields[named ? "column `" + names[i] + "`" : "field " + std::to_string(i + 1)] =
                fields[i];
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

bool sameCoordinate(double was, float is) {
    // Thousandths of a minute, and the float the file keeps.
    const double tolerance = 0.0005 / 60 + (std::nextafter(std::fabs(is), 1000.0f) - std::fabs(is));
    return std::fabs(was - is) <= tolerance;
}

double frequencyValue(const std::string& text) {
    const auto frequency = parseFrequency(trimmed(text));
    return frequency ? parseDecimal(*frequency).value_or(0) : 0;
}

// What the row says, member by member, against the turnpoint the task file gives back, with
// the columns a note of a difference must name.
std::vector<std::string> rowDifferences(const CupRow& row, const Json& tp, const Header& units) {
    std::vector<std::string> labels;
    auto differs = [&](bool different, std::string label) {
        if (different) labels.push_back(std::move(label));
    };
    const Userdata tag = parseUserdata(row["column userdata"]);
    const std::string code(trimmed(row["column code"]));
    differs(row["column name"] != tp["name"], "column name");
    differs((tag.codeIsIcao ? tp["icaoCode"] : tp["shortName"]) != code, "column code");
    differs(row["column desc"] != tp["comment"], "column desc");
    auto number = [&](const std::optional<int32_t>& value, const char* member) {
        return value.value_or(0) != tp[member].get<int32_t>();
    };
    differs(number(parseElevation(trimmed(row["column elev"]), units.units[kElev]), "elevation"),
            "column elev");
    differs(number(parseDirection(trimmed(row["column rwdir"])), "runwayDirection"),
            "column rwdir");
    differs(number(parseRunwayLength(trimmed(row["column rwlen"]), units.units[kRwlen]),
                   "runwayLength"),
            "column rwlen");
    differs(frequencyValue(row["column freq"]) != std::stod(tp["frequency"].get<std::string>()),
            "column freq");
    differs(!sameCoordinate(*parseLatitude(trimmed(row["column lat"])), tp["latitude"]), "lat");
    differs(!sameCoordinate(*parseLongitude(trimmed(row["column lon"])), tp["longitude"]), "lon");
    const auto style = parseStyle(trimmed(row["column style"]));
    if (style) {
        const int exported = styleFor(tp["kind"], tp["surface"]);
        differs(*style != exported, "column style");
        const KindAndSurface implied = kindForStyle(*style);
        differs(tag.kind.value_or(implied.kind) != tp["kind"],
                tag.kind ? "column userdata" : "column style");
        differs(tag.surface.value_or(implied.surface) != tp["surface"],
                tag.surface ? "column userdata" : "column style");
    }
    differs(tag.mark.value_or(0) != tp["markFlag"], "column userdata");
    differs(tag.icao && *tag.icao != tp["icaoCode"], "column userdata");
    differs(!tag.notOurs.empty(), "column userdata");
    for (const auto& [key, value] : row.fields) {
        const bool kept = key.starts_with("column ") && key.find('`') == std::string::npos &&
                          key != "column country" && key != "column rwwidth" &&
                          key != "column pics";
        differs(!kept && !trimmed(value).empty(), key);
    }
    return labels;
}

struct RoundTrip {
    Json before;
    Json after;
    RunNotes exported;
    RunNotes rebuilt;
};

// task through `velkano cup` and `velkano build` again: each member that comes back otherwise is
// named by a note of the export (at its turnpoint or route) or of the import (at its row).
RoundTrip expectChangesNoted(const std::string& task, const ScratchDir& dir) {
    RoundTrip trip{dump(task), {}, run({"cup", task, "-o", dir.file("t.cup")}), {}};
    trip.rebuilt = run({"build", dir.file("t.cup"), "-o", dir.file("t2.rtx")});
    trip.after = dump(dir.file("t2.rtx"));
    const Json& before = trip.before;
    const Json& after = trip.after;
    const RunNotes& exported = trip.exported;
    const RunNotes& rebuilt = trip.rebuilt;
    // Which columns may carry a change of each member.
    const std::map<std::string, std::vector<std::string>> kLabels = {
        {"name", {"column name"}},
        {"shortName", {"column code"}},
        {"comment", {"column desc"}},
        {"elevation", {"column elev"}},
        {"frequency", {"column freq"}},
        {"runwayLength", {"column rwlen"}},
        {"runwayDirection", {"column rwdir"}},
        {"kind", {"column style", "column userdata"}},
        {"surface", {"column style", "column userdata"}},
        {"markFlag", {"column userdata"}},
        {"icaoCode", {"column userdata", "column code"}}};
    EXPECT_EQ(after["turnpoints"].size(), before["turnpoints"].size()) << task;
    if (after["turnpoints"].size() != before["turnpoints"].size()) return trip;
    for (size_t i = 0; i < before["turnpoints"].size(); ++i) {
        const Json& was = before["turnpoints"][i];
        const Json& is = after["turnpoints"][i];
        EXPECT_TRUE(sameCoordinate(was["latitude"], is["latitude"])) << task;
        EXPECT_TRUE(sameCoordinate(was["longitude"], is["longitude"])) << task;
        const std::string tpAt = task + ": turnpoint " + std::to_string(i + 1) + " ";
        const std::string rowAt = dir.file("t.cup") + ":" + std::to_string(i + 2) + ": ";
        for (const auto& [member, labels] : kLabels) {
            if (was[member] == is[member]) continue;
            bool noted = false;
            for (const std::string& label : labels)
                noted = noted || exported.has(tpAt, label) || rebuilt.has(rowAt, label);
            EXPECT_TRUE(noted) << tpAt << member << ": " << was[member] << " -> " << is[member]
                               << " without a note";
        }
    }
    EXPECT_EQ(after["routes"].size(), before["routes"].size()) << task;
    for (size_t r = 0; r < std::min(before["routes"].size(), after["routes"].size()); ++r) {
        if (before["routes"][r] == after["routes"][r]) continue;
        const std::string routeAt = task + ": route " + std::to_string(r + 1);
        EXPECT_TRUE(exported.has(routeAt + " ", "") || exported.has(routeAt + ":", ""))
            << routeAt << " changed without a note";
    }
    return trip;
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
            const float is = actual["turnpoints"][i][member];
            EXPECT_TRUE(sameCoordinate(expected["turnpoints"][i][member].get<float>(), is))
                << i << " " << member;
            expected["turnpoints"][i][member] = is;
        }
    }
}

struct Corpus {
    std::vector<std::string> files;
    std::vector<std::string> options = {};
};

TEST(CupRoundTrip, EveryChangeFromRowsToTaskFileAndBackIsNoted) {
    std::vector<Corpus> corpus = {{{"no-header.cup", "tasks-only.cup"}},
                                  {{"bad-rows.cup"}, {"--skip-bad-rows"}}};
    for (const auto& entry : std::filesystem::directory_iterator(kCorpus)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() == ".cup" && name != "no-header.cup" &&
            name != "tasks-only.cup" && name != "bad-rows.cup")
            corpus.push_back({{name}});
    }
    ASSERT_GE(corpus.size(), 13u);
    for (const Corpus& c : corpus) {
        ScratchDir dir;
        std::vector<std::string> build = {"build"};
        for (const std::string& file : c.files) build.push_back(kCorpus + file);
        build.insert(build.end(), c.options.begin(), c.options.end());
        build.insert(build.end(), {"-o", dir.file("t1.rtx")});
        const RunNotes imported = run(build);
        const Json before = dump(dir.file("t1.rtx"));

        // The rows against the task file: each row not left out is the next turnpoint.
        size_t tp = 0;
        for (const std::string& file : c.files) {
            const std::string bytes = readFileText(kCorpus + file);
            const std::string text = utf8Of(bytes);
            std::optional<Header> header;
            for (const TextLine& line : splitLines(text)) {
                if (!header && !trimmed(line.text).empty() && trimmed(line.text)[0] != '*')
                    header = matchHeader(splitFields(line.text)).value_or(classicHeader());
            }
            for (const CupRow& row : cupRows(bytes)) {
                const std::string at = kCorpus + file + ":" + std::to_string(row.line) + ": ";
                if (imported.has(at, "row left out")) continue;
                ASSERT_LT(tp, before["turnpoints"].size()) << file;
                for (const std::string& label :
                     rowDifferences(row, before["turnpoints"][tp], *header)) {
                    // Blanks for control characters are noted for the line.
                    const bool global = label.find('`') != std::string::npos;
                    EXPECT_TRUE(imported.has(global ? kCorpus + file : at, label) ||
                                imported.has(at, "blank"))
                        << at << label << " changed without a note";
                }
                ++tp;
            }
        }
        EXPECT_EQ(tp, before["turnpoints"].size()) << c.files[0];

        expectChangesNoted(dir.file("t1.rtx"), dir);
    }
}

TEST(CupRoundTrip, SampleTasksComeBackThroughCupAsTheyWereWithEveryChangeNoted) {
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
        RoundTrip trip = expectChangesNoted(task, dir);
        // CUP of our own reads back without a note, and changed only as documented.
        EXPECT_EQ(trip.rebuilt.lines, std::vector<std::string>{}) << task;
        Json expected = withoutWhatCupCannotHold(trip.before);
        expectSameCoordinates(expected, trip.after);
        EXPECT_EQ(trip.after, expected) << task;
    }
    // The file it writes, byte for byte, in both layouts.
    const auto current = runVelkano({"cup", dir.file("rt.rtx")});
    expectGolden(kCorpus + "expected/round-trip.cup", current.out);
    expectGolden(kCorpus + "expected/round-trip-11.cup",
                 runVelkano({"cup", dir.file("rt.rtx"), "--columns", "11"}).out);
}

}  // namespace
