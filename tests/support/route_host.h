// Host side of the route driver tests: the real driver library loaded as a host loads it,
// real files in a scratch directory, the write and read passes a host makes and what it
// collects from FIO_ReadObject.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/driver_library.h"
#include "driver_checks.h"
#include "host_test_support.h"
#include "route_file_encoder.h"
#include "velkano/fio_codes.h"
#include "velkano/host_file.h"
#include "velkano/host_records.h"

namespace route_host {

using namespace testing_support;
using testenc::RouteRecordFields;
using testenc::TpRecordFields;
using Bytes = std::vector<uint8_t>;
using Points = std::vector<std::pair<int32_t, int32_t>>;  // number, role

inline Points pointsOf(const FIO_Route& route) {
    Points points;
    for (const FIO_TPEntry* point : route.points) points.emplace_back(point->number, point->role);
    return points;
}

// A host route over the given points (number, role).
inline std::unique_ptr<FIO_Route> routeOf(int32_t id, std::string name, const Points& points) {
    auto route = std::make_unique<FIO_Route>();
    route->id = id;
    route->name = std::move(name);
    for (const auto& [number, role] : points) route->addPoint(number, role, -1);
    return route;
}

inline testenc::TpRecordFields tpDesc(int32_t number) {
    testenc::TpRecordFields desc;
    desc.number = number;
    desc.name = "TP " + std::to_string(number);
    return desc;
}

inline testenc::RouteRecordFields routeDesc(int32_t id,
                                            std::vector<testenc::RoutePointFields> listed = {
                                                {1, 0}}) {
    testenc::RouteRecordFields desc;
    desc.id = id;
    desc.listed = std::move(listed);
    desc.name = "Route " + std::to_string(id);
    return desc;
}

inline Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// What a host collects from FIO_ReadObject calls.
struct ReadPass {
    std::vector<int32_t> results;
    std::vector<FIO_TPEntry> turnpoints;
    std::vector<std::unique_ptr<FIO_Route>> routes;

    std::vector<int32_t> tpNumbers() const {
        std::vector<int32_t> numbers;
        for (const auto& entry : turnpoints) numbers.push_back(entry.number);
        return numbers;
    }
    std::vector<int32_t> routeIds() const {
        std::vector<int32_t> ids;
        for (const auto& route : routes) ids.push_back(route->id);
        return ids;
    }
};

// The passes below drive a loaded library (DriverLibrary) or a linked driver's table
// (FIO_ExportTable) alike.

// Makes the given number of FIO_ReadObject calls, or reads until -1 when calls is 0.
template <typename Driver>
ReadPass readObjects(const Driver& fio, CFile& task, int calls = 0) {
    ReadPass pass;
    for (int i = 0; calls == 0 || i < calls; ++i) {
        FIO_TPEntry entry;
        auto route = std::make_unique<FIO_Route>();
        const int32_t result = fio.ReadObject(&task, &entry, route.get());
        pass.results.push_back(result);
        if (result == 1) pass.turnpoints.push_back(entry);
        if (result == 2) pass.routes.push_back(std::move(route));
        if (calls == 0 && (result == -1 || i > 2 * velkano::kMaxRecordCount + 4)) break;
    }
    return pass;
}

// FIO_WriteHeader with a header record of the given kind and counts.
template <typename Driver>
int32_t writeHeader(const Driver& fio, CFile& task, int32_t kind, int32_t tpCount = 0,
                    int32_t routeCount = 0) {
    FIO_Header header;
    header.kind = kind;
    header.turnpointCount = tpCount;
    header.routeCount = routeCount;
    return fio.WriteHeader(&task, &header);
}

// A whole write pass as a host makes it: the header announcing tpCount turnpoints and
// routeCount routes, the turnpoints, the routes and the closing header. Returns how many of
// those calls the driver accepted.
template <typename Driver>
int writePass(const Driver& fio, const std::string& taskPath, int32_t tpCount, int32_t routeCount,
              std::vector<FIO_TPEntry> turnpoints, const std::vector<FIO_Route*>& routes) {
    CStdioFile task(taskPath, kHostWrite);
    int accepted = writeHeader(fio, task, FIO_Header::kBegin, tpCount, routeCount) == 1;
    for (FIO_TPEntry& entry : turnpoints) accepted += fio.WriteTP(nullptr, &entry) == 1;
    for (FIO_Route* route : routes) accepted += fio.WriteRoute(&task, route) == 1;
    accepted += writeHeader(fio, task, FIO_Header::kEnd) == 1;
    task.Close();
    return accepted;
}

class RouteDriverTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(fio.InitDriver(), nullptr); }
    void TearDown() override { fio.ExitDriver(); }

    std::string path(const std::string& name) const { return dir.file(name); }

    ReadPass read(const std::string& taskPath, int calls = 0) {
        CStdioFile task(taskPath, kHostRead);
        return readObjects(fio, task, calls);
    }
    ReadPass readFrom(CFile& task, int calls = 0) { return readObjects(fio, task, calls); }

    int32_t header(CFile& task, int32_t kind, int32_t tps = 0, int32_t routes = 0) {
        return writeHeader(fio, task, kind, tps, routes);
    }

    // Declared before the library so that the files outlive the driver that holds them open.
    testing_support::ScratchDir dir;
    DriverLibrary fio{testing_support::driverPath("Velkano17Rte.drf")};
};

// A small host turnpoint, written as record number `number` by the driver.
inline FIO_TPEntry smallTurnpoint(const std::string& name) {
    FIO_TPEntry entry;
    entry.name = name;
    entry.latitude = 46.25f;
    entry.longitude = 7.5f;
    return entry;
}

inline Bytes tpRecordOf(const FIO_TPEntry& entry, int32_t number) {
    return testenc::encodeTpRecord(testenc::tpFieldsFromEntry(entry, number));
}

inline Bytes headerOf(std::string_view magic, int count) {
    return testenc::encodeFileHeader(magic, {}, count);
}

}  // namespace route_host
