// Full write and read passes through the exports, compared member by member.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "route_host.h"
#include "velkano/fio_error.h"

namespace {

using namespace route_host;

// Host turnpoint i of a write pass, every member the files carry set.
FIO_TPEntry hostTurnpoint(int i) {
    static const char* const frequencies[] = {"118.000", "122.500", "130.125", "0.000"};
    FIO_TPEntry entry;
    entry.number = 1000 + i;  // not written: the file numbers its records itself
    entry.kind = velkano::kKinds[static_cast<size_t>(i) % std::size(velkano::kKinds)];
    entry.name = "Turnpoint " + std::to_string(i);
    entry.shortName = "T" + std::to_string(i % 1000);
    entry.comment = std::string(static_cast<size_t>(i % 100), 'c');
    entry.elevation = (i * 37) % 4000 - 300;
    entry.markFlag = i % 2;
    entry.latitude = -80.0f + static_cast<float>(i % 1600) * 0.1f;
    entry.longitude = 179.5f - static_cast<float>(i % 3590) * 0.1f;
    entry.icaoCode =
        velkano::isAirfieldKind(entry.kind) ? "ED" + std::string(1, 'A' + i % 26) + "X" : "";
    entry.frequency = frequencies[i % 4];
    if (i % 3 != 0) {
        static const int32_t surfaces[] = {velkano::kSurfaceH, velkano::kSurfaceG,
                                           velkano::kSurfaceF};
        entry.runwayLength = 300 + i % 2000;
        entry.runwayDirection = (i * 7) % 361;
        entry.surface = surfaces[i % 3];
    }
    return entry;
}

// Host route j over turnpoints 1..tpCount: 1 to 6 points, inner ones sometimes flagged.
std::unique_ptr<FIO_Route> hostRoute(int j, int tpCount) {
    auto route = std::make_unique<FIO_Route>();
    route->id = j % 5 == 4 ? -j : j + 1;
    route->name = std::string(static_cast<size_t>(j % 210), 'r') + std::to_string(j);
    const int size = 1 + j % 6;
    for (int k = 0; k < size; ++k) {
        const int32_t role =
            (j + k) % 3 == 0 ? velkano::kRoleFlaggedTurnpoint : velkano::kRoleTurnpoint;
        route->addPoint(1 + (j * 13 + k * 7) % tpCount, role, -1);
    }
    return route;
}

// What a written route reads back as: roles follow from the positions and the flag.
Points readBackOf(const FIO_Route& route) {
    const auto& p = route.points;
    const size_t size = p.size();
    using namespace velkano;
    if (size == 1) return {{p[0]->number, kRoleBeforeStart}, {p[0]->number, kRoleAfterFinish}};
    Points points{{p[0]->number, kRoleBeforeStart}};
    for (size_t i = 1; i + 1 < size; ++i) {
        const int32_t role = i == 1                                ? kRoleStart
                             : i == size - 2                       ? kRoleFinish
                             : p[i]->role == kRoleFlaggedTurnpoint ? kRoleFlaggedTurnpoint
                                                                   : kRoleTurnpoint;
        points.emplace_back(p[i]->number, role);
    }
    points.emplace_back(p[size - 1]->number, kRoleAfterFinish);
    return points;
}

// The entry read back is the one written but for its number, which the file gives it.
void expectSameTurnpoint(FIO_TPEntry written, const FIO_TPEntry& read, int32_t number) {
    written.number = number;
    EXPECT_EQ(entryMembers(read), entryMembers(written));
}

// Writes tpCount turnpoints and routeCount routes through the exports, reads them back
// through FIO_ReadObject in a fresh driver state and compares every member. Returns the
// seconds taken by the write pass and the read pass.
std::pair<double, double> roundTrip(DriverLibrary& fio, const std::string& taskPath, int tpCount,
                                    int routeCount) {
    using Clock = std::chrono::steady_clock;
    std::vector<FIO_TPEntry> turnpoints;
    std::vector<std::unique_ptr<FIO_Route>> routes;
    for (int i = 0; i < tpCount; ++i) turnpoints.push_back(hostTurnpoint(i));
    for (int j = 0; j < routeCount; ++j) routes.push_back(hostRoute(j, std::max(tpCount, 1)));

    std::vector<FIO_Route*> routePointers;
    for (const auto& route : routes) routePointers.push_back(route.get());

    const auto writeStart = Clock::now();
    EXPECT_EQ(writePass(fio, taskPath, tpCount, routeCount, turnpoints, routePointers),
              tpCount + routeCount + 2);
    fio.ExitDriver();
    const double writeSeconds = std::chrono::duration<double>(Clock::now() - writeStart).count();

    EXPECT_NE(fio.InitDriver(), nullptr);
    const auto readStart = Clock::now();
    CStdioFile task(taskPath, kHostRead);
    const ReadPass pass = readObjects(fio, task);
    const double readSeconds = std::chrono::duration<double>(Clock::now() - readStart).count();

    EXPECT_EQ(pass.results.back(), -1);
    EXPECT_EQ(pass.results.size(), static_cast<size_t>(tpCount + routeCount + 1));
    EXPECT_EQ(pass.turnpoints.size(), static_cast<size_t>(tpCount));
    EXPECT_EQ(pass.routes.size(), static_cast<size_t>(routeCount));
    for (size_t i = 0; i < std::min(pass.turnpoints.size(), turnpoints.size()); ++i) {
        expectSameTurnpoint(turnpoints[i], pass.turnpoints[i], static_cast<int32_t>(i + 1));
    }
    for (size_t j = 0; j < std::min(pass.routes.size(), routes.size()); ++j) {
        const FIO_Route& written = *routes[j];
        const FIO_Route& back = *pass.routes[j];
        EXPECT_EQ(back.id, written.id);
        EXPECT_EQ(back.name,
                  written.name.substr(0, velkano::longestText(velkano::kRouteNameWidth)));
        EXPECT_EQ(pointsOf(back), readBackOf(written)) << written.id;
    }
    return {writeSeconds, readSeconds};
}

TEST_F(RouteDriverTest, RoundTripsEveryMember) {
    const std::pair<int, int> counts[] = {{0, 0}, {1, 1}, {3, 0}, {40, 25}};
    for (const auto& [tps, routes] : counts) {
        roundTrip(fio, path("trip.rtx"), tps, routes);
    }
}

TEST_F(RouteDriverTest, RoundTripsTheLargestCounts) {
    const auto [writeSeconds, readSeconds] =
        roundTrip(fio, path("full.rtx"), velkano::kMaxRecordCount, velkano::kMaxRecordCount);
    std::printf("[ timing ] %d turnpoints + %d routes: write %.3f s, read %.3f s\n",
                velkano::kMaxRecordCount, velkano::kMaxRecordCount, writeSeconds, readSeconds);
    RecordProperty("write_ms", static_cast<int>(writeSeconds * 1000));
    RecordProperty("read_ms", static_cast<int>(readSeconds * 1000));
}

TEST_F(RouteDriverTest, RoundTripsBesideVeryLongPaths) {
    // Well past the 260-character paths of old file systems.
    std::vector<std::filesystem::path> levels{dir.path()};
    for (char level = 'a'; level < 'e'; ++level) {
        levels.push_back(levels.back() / std::string(200, level));
    }
    std::filesystem::create_directories(levels.back());
    const std::string base = (levels.back() / (std::string(200, 'n') + ".v1")).string();
    const std::string task = base + "." + std::string(40, 'x');
    roundTrip(fio, task, 5, 3);
    fio.ExitDriver();
    EXPECT_TRUE(std::filesystem::exists(base + ".top"));
    // Some systems cannot walk a tree this deep to clear it: remove it by name.
    std::filesystem::remove(task);
    std::filesystem::remove(base + ".top");
    while (levels.size() > 1) {
        std::filesystem::remove(levels.back());
        levels.pop_back();
    }
}

}  // namespace
