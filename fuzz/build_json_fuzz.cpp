// velkano build: arbitrary bytes as the JSON document. What the tool accepts is written
// through the route driver's exports (task file in memory, turnpoint file in a scratch
// directory) and read back: every accepted document must give files that read back whole.
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "formats/json_text.h"
#include "mem_file.h"
#include "formats/task_json.h"
#include "formats/route_layout.h"
#include "velkano/fio_exports.h"

namespace {

using velkano::tool::JsonError;
using velkano::tool::TaskDocument;

// The parsed document costs more per input byte than a binary file: up to about 100 bytes
// for deeply nested arrays.
constexpr int64_t kBuildHeapBudget = 8 << 20;
constexpr int64_t kBuildHeapPerInputByte = 128;
constexpr float kRealLimit = 0x1p127f;
constexpr size_t kCommentKept = velkano::longestText(velkano::kTurnpointCommentWidth);
constexpr size_t kRouteNameKept = velkano::longestText(velkano::kRouteNameWidth);

struct Built {
    TaskDocument task;
    std::vector<std::unique_ptr<FIO_Route>> routes;
};

bool acceptDocument(std::string_view text, Built& built) {
    try {
        built.task = velkano::tool::taskFromJson(velkano::tool::parseJson(text));
        built.routes = velkano::tool::routesForWriting(built.task);
        return true;
    } catch (const JsonError&) {
        return false;
    }
}

void expectDone(int32_t result) {
    FUZZ_CHECK(result == 1);
}

// The same calls velkano build makes, in the host's order.
void writeFiles(Built& built, MemFile& taskFile) {
    FUZZ_CHECK(FIO_InitDriver() != nullptr);
    FIO_Header header;
    header.kind = FIO_Header::kBegin;
    header.turnpointCount = static_cast<int32_t>(built.task.turnpoints.size());
    header.routeCount = static_cast<int32_t>(built.routes.size());
    expectDone(FIO_WriteHeader(&taskFile, &header));
    for (FIO_TPEntry& entry : built.task.turnpoints) expectDone(FIO_WriteTP(nullptr, &entry));
    for (auto& route : built.routes) expectDone(FIO_WriteRoute(&taskFile, route.get()));
    header.kind = FIO_Header::kEnd;
    expectDone(FIO_WriteHeader(&taskFile, &header));
    FIO_ExitDriver();
}

void checkCoordinate(float written, float read) {
    if (std::isnormal(written) && std::fabs(written) < kRealLimit) FUZZ_CHECK(read == written);
}

void checkTurnpoint(const FIO_TPEntry& written, const FIO_TPEntry& read, int32_t position) {
    FUZZ_CHECK(read.number == position);
    checkCoordinate(written.latitude, read.latitude);
    checkCoordinate(written.longitude, read.longitude);
    FUZZ_CHECK(read.elevation == written.elevation);
    FUZZ_CHECK(read.runwayLength == written.runwayLength);
    FUZZ_CHECK(read.markFlag == written.markFlag);
    FUZZ_CHECK(read.comment == written.comment.substr(0, kCommentKept));
}

// The reader drops negative numbers (no point) and puts the before-start point first and
// the after-finish point last, which is where the writer keeps them.
void checkRoute(const FIO_Route& written, const FIO_Route& read) {
    FUZZ_CHECK(read.id == written.id);
    FUZZ_CHECK(read.name == written.name.substr(0, kRouteNameKept));
    std::vector<int32_t> expected;
    for (const FIO_TPEntry* point : written.points) {
        if (point->number >= 0) expected.push_back(point->number);
    }
    std::vector<int32_t> numbers;
    for (const FIO_TPEntry* point : read.points) numbers.push_back(point->number);
    FUZZ_CHECK(numbers == expected);
    const auto& points = written.points;
    if (points.front()->number >= 0)
        FUZZ_CHECK(read.points.front()->role == velkano::kRoleBeforeStart);
    if (points.back()->number >= 0)
        FUZZ_CHECK(read.points.back()->role == velkano::kRoleAfterFinish);
}

void readBack(const Built& built, const MemFile& written) {
    MemFile taskFile(written.bytes(), written.GetFilePath());
    FUZZ_CHECK(FIO_InitDriver() != nullptr);
    const auto turnpoints = built.task.turnpoints.size();
    const auto routes = built.routes.size();
    try {
        for (size_t i = 0; i < turnpoints; ++i) {
            FIO_TPEntry entry;
            FIO_Route unused;
            FUZZ_CHECK(FIO_ReadObject(&taskFile, &entry, &unused) == 1);
            checkTurnpoint(built.task.turnpoints[i], entry, static_cast<int32_t>(i + 1));
        }
        for (size_t i = 0; i < routes; ++i) {
            FIO_TPEntry unused;
            FIO_Route route;
            FUZZ_CHECK(FIO_ReadObject(&taskFile, &unused, &route) == 2);
            checkRoute(*built.routes[i], route);
        }
        FIO_TPEntry entry;
        FIO_Route route;
        FUZZ_CHECK(FIO_ReadObject(&taskFile, &entry, &route) == -1);
    } catch (const FIO_Error&) {
        fuzz::fail("a file velkano build wrote does not read back");
    }
    FIO_ExitDriver();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string taskPath = fuzz::scratchFile("build.rtx");
    fuzz::InputScope scope(size, kBuildHeapBudget, kBuildHeapPerInputByte);
    Built built;
    if (!acceptDocument(std::string_view(reinterpret_cast<const char*>(data), size), built))
        return 0;
    MemFile taskFile({}, taskPath);
    writeFiles(built, taskFile);
    readBack(built, taskFile);
    return 0;
}
