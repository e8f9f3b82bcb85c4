// velkano build FILE.cup: arbitrary bytes as a CUP file. What the reader accepts must be a
// task file's worth of sound values, and `velkano cup` must write it so that it reads back to
// the same turnpoints and routes.
#include <cmath>
#include <cstdint>
#include <span>
#include <string>

#include "formats/change_report.h"
#include "formats/cup_reader.h"
#include "formats/cup_writer.h"
#include "fuzz_support.h"
#include "velkano/fio_codes.h"

namespace {

using velkano::tool::CupColumns;
using velkano::tool::CupFile;
using velkano::tool::CupReadOptions;
using velkano::tool::TaskDocument;

// Each row costs a host entry and its name several times over (index, places, the export).
constexpr int64_t kCupHeapBudget = 8 << 20;
constexpr int64_t kCupHeapPerInputByte = 512;
// Thousandths of a minute, in degrees, and the float the entry keeps.
constexpr double kCoordinateTolerance = 0.0005 / 60 + 1e-5;

bool accepted(const std::string& text, const CupReadOptions& options, TaskDocument& task,
              velkano::tool::Notes* notes = nullptr) {
    try {
        auto imported = velkano::tool::readCup({CupFile{"fuzz.cup", text}}, options);
        task = std::move(imported.task);
        if (notes != nullptr) *notes = std::move(imported.notes);
        return true;
    } catch (const velkano::tool::CupError&) {
        return false;
    }
}

// Every note says what kind of change it is and where in the file, and the report counts
// them all.
void checkNotes(const velkano::tool::Notes& notes) {
    size_t counted = 0;
    for (const auto& input : velkano::tool::summariseNotes(notes)) {
        FUZZ_CHECK(input.input == "fuzz.cup");
        for (const auto& kind : input.kinds) counted += kind.count;
    }
    FUZZ_CHECK(counted == notes.size());
    for (const auto& note : notes) {
        FUZZ_CHECK(!note.kind.empty() && note.where.rfind("fuzz.cup:", 0) == 0);
    }
    velkano::tool::formatChangeReport(velkano::tool::summariseNotes(notes),
                                      velkano::tool::ReportDetail::firstPlaces, "");
}

bool oneOf(int32_t value, std::span<const int32_t> allowed) {
    for (const int32_t a : allowed) {
        if (a == value) return true;
    }
    return false;
}

void checkSound(const TaskDocument& task) {
    const auto maxRecords = static_cast<size_t>(velkano::kMaxRecordCount);
    FUZZ_CHECK(task.turnpoints.size() <= maxRecords && task.routes.size() <= maxRecords);
    const auto count = static_cast<int32_t>(task.turnpoints.size());
    for (int32_t i = 0; i < count; ++i) {
        const FIO_TPEntry& entry = task.turnpoints[i];
        FUZZ_CHECK(entry.number == i + 1);
        FUZZ_CHECK(std::fabs(entry.latitude) <= 90.0f && std::fabs(entry.longitude) <= 180.0f);
        FUZZ_CHECK(!entry.name.empty());
        FUZZ_CHECK(oneOf(entry.kind, velkano::kKinds));
        FUZZ_CHECK(oneOf(entry.surface, velkano::kSurfaces));
        FUZZ_CHECK(entry.runwayDirection >= 0 && entry.runwayDirection <= 360);
    }
    for (const auto& route : task.routes) {
        for (const auto& point : route.points)
            FUZZ_CHECK(point.number >= 1 && point.number <= count);
    }
}

void checkSameTask(const TaskDocument& was, const TaskDocument& is) {
    FUZZ_CHECK(is.turnpoints.size() == was.turnpoints.size());
    FUZZ_CHECK(is.routes.size() == was.routes.size());
    for (size_t i = 0; i < was.turnpoints.size(); ++i) {
        const FIO_TPEntry& a = was.turnpoints[i];
        const FIO_TPEntry& b = is.turnpoints[i];
        FUZZ_CHECK(std::fabs(static_cast<double>(a.latitude) - b.latitude) <= kCoordinateTolerance);
        FUZZ_CHECK(std::fabs(static_cast<double>(a.longitude) - b.longitude) <=
                   kCoordinateTolerance);
        FUZZ_CHECK(a.kind == b.kind && a.surface == b.surface && a.markFlag == b.markFlag);
        FUZZ_CHECK(a.elevation == b.elevation);
        FUZZ_CHECK(a.icaoCode == b.icaoCode && a.shortName == b.shortName);
        // Every turnpoint keeps its runway; a direction is written modulo 360.
        FUZZ_CHECK(a.runwayLength == b.runwayLength);
        FUZZ_CHECK(a.runwayDirection % 360 == b.runwayDirection);
    }
    for (size_t r = 0; r < was.routes.size(); ++r) {
        const auto& a = was.routes[r].points;
        const auto& b = is.routes[r].points;
        // A route of one point comes back with it as takeoff and landing.
        FUZZ_CHECK(a.size() == b.size() || (a.size() == 1 && b.size() == 2));
        for (size_t p = 0; p < a.size(); ++p) FUZZ_CHECK(a[p].number == b[p].number);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InputScope scope(size, kCupHeapBudget, kCupHeapPerInputByte);
    const std::string text(reinterpret_cast<const char*>(data), size);
    TaskDocument strict;
    const bool whole = accepted(text, {}, strict);
    TaskDocument task;
    velkano::tool::Notes notes;
    // Leaving out bad rows never refuses what the strict reading takes, nor takes less of it.
    const bool some = accepted(text, {false, true}, task, &notes);
    FUZZ_CHECK(!whole || (some && task.turnpoints.size() == strict.turnpoints.size()));
    if (!some) return 0;
    checkSound(task);
    checkNotes(notes);
    TaskDocument back;
    const bool empty = task.turnpoints.empty() && task.routes.empty();
    // All rows and tasks left out: the CUP file of nothing is refused as no waypoints.
    FUZZ_CHECK(accepted(velkano::tool::formatCup(task, CupColumns::current).text, {}, back) !=
               empty);
    if (empty) return 0;
    checkSameTask(task, back);
    TaskDocument classic;
    FUZZ_CHECK(accepted(velkano::tool::formatCup(task, CupColumns::classic).text, {}, classic));
    FUZZ_CHECK(classic.turnpoints.size() == task.turnpoints.size());
    return 0;
}
