// A task file and its companion turnpoint file, read as a host reads them: FIO_ReadObject
// until -1 or FIO_Error, then FIO_ExitDriver.
//
// Input: a little-endian uint16 n, then n bytes of the companion file (fewer when the input
// ends), then the task file's bytes.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "mem_file.h"
#include "route_state.h"
#include "velkano/companion_path.h"
#include "velkano/fio_exports.h"

namespace {

using velkano::kNothingLeft;
using velkano::kReadRoute;
using velkano::kReadTurnpoint;

bool isKnownRole(int32_t role) {
    return std::find(std::begin(velkano::kRoles), std::end(velkano::kRoles), role) !=
           std::end(velkano::kRoles);
}

void checkTurnpoint(const FIO_TPEntry& entry) {
    // The shorter of name and short name always ends up as the short name.
    FUZZ_CHECK(entry.shortName.size() <= entry.name.size());
    // A short name taken from the ICAO text can become the name.
    FUZZ_CHECK(entry.name.size() <= static_cast<size_t>(velkano::kTurnpointIcaoWidth));
    FUZZ_CHECK(entry.markFlag == 0 || entry.markFlag == 1);
    FUZZ_CHECK(std::find(std::begin(velkano::kSurfaces), std::end(velkano::kSurfaces),
                         entry.surface) != std::end(velkano::kSurfaces));
    FUZZ_CHECK(entry.icaoCode.empty() || entry.icaoCode.size() == 4);
    FUZZ_CHECK(!entry.frequency.empty());
}

void checkRoute(const FIO_Route& route) {
    FUZZ_CHECK(route.name.size() <= static_cast<size_t>(velkano::kRouteNameWidth));
    for (const FIO_TPEntry* point : route.points) {
        FUZZ_CHECK(point != nullptr);
        FUZZ_CHECK(point->number >= 0);
        FUZZ_CHECK(isKnownRole(point->role));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string taskPath = fuzz::scratchFile("task.rtx");
    static const std::string companionPath = velkano::companionPath(taskPath);
    if (size < 2) return 0;
    const size_t companionSize = std::min<size_t>(data[0] | data[1] << 8, size - 2);
    const uint8_t* companion = data + 2;
    const uint8_t* task = companion + companionSize;
    fuzz::writeScratchFile(companionPath, companion, companionSize);

    fuzz::InputScope scope(size);
    MemFile taskFile(std::vector<uint8_t>(task, data + size), taskPath);
    auto* state = static_cast<velkano::RouteState*>(FIO_InitDriver());
    FUZZ_CHECK(state != nullptr);

    int32_t turnpoints = 0;
    int32_t routes = 0;
    try {
        for (;;) {
            FIO_TPEntry entry;
            FIO_Route route;
            const uint32_t taskBefore = taskFile.GetPosition();
            const uint32_t companionBefore =
                state->readCompanion != nullptr ? state->readCompanion->GetPosition() : 0;
            scope.countCall();
            const int32_t result = FIO_ReadObject(&taskFile, &entry, &route);
            if (result == kNothingLeft) break;
            if (result == kReadTurnpoint) {
                // Turnpoints come first, each from bytes of the companion file.
                FUZZ_CHECK(routes == 0);
                FUZZ_CHECK(state->readCompanion != nullptr);
                FUZZ_CHECK(state->readCompanion->GetPosition() > companionBefore);
                checkTurnpoint(entry);
                ++turnpoints;
            } else {
                FUZZ_CHECK(result == kReadRoute);
                FUZZ_CHECK(taskFile.GetPosition() > taskBefore);
                checkRoute(route);
                ++routes;
            }
            FUZZ_CHECK(turnpoints <= velkano::kMaxRecordCount &&
                       routes <= velkano::kMaxRecordCount);
        }
    } catch (const FIO_Error& error) {
        FUZZ_CHECK(error.code == FIO_Error::kMalformed && error.param1 == 0 && error.param2 == 0);
        FUZZ_CHECK(error.message == FIO_Error::kBadObject || error.message == FIO_Error::kBadFile);
    }
    FIO_ExitDriver();
    return 0;
}
