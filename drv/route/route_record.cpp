// Route records ('i'): read from any version into a host route, written as version 5.
#include <algorithm>
#include <stdexcept>
#include <string>

#include "fio_velkano17.h"
#include "record_io.h"
#include "route_file.h"

namespace {

constexpr int32_t kRouteVersion = 5;
constexpr int32_t kRouteNameWidth = 201;
constexpr int32_t kRouteEndByte = 'J';
constexpr int64_t kMaxListedPoints = 32767;  // the record counts them in an int16

// Roles of route points.
constexpr int32_t kRoleTurnpoint = 1;
constexpr int32_t kRoleFlagged = 3;
constexpr int32_t kRoleStart = 4;
constexpr int32_t kRoleAfterFinish = 5;
constexpr int32_t kRoleBeforeStart = 6;
constexpr int32_t kRoleFinish = 7;

// The fields each version added.
bool hasPointFlags(int32_t version) {
    return version > 0;
}
bool hasOuterPoints(int32_t version) {
    return version > 2;
}
bool hasName(int32_t version) {
    return version > 3;
}
bool hasEndByte(int32_t version) {
    return version > 4;
}

// A 'j' sub-record's tag and turnpoint number.
int32_t readPointNumber(CFile& file) {
    velkano::expectTag(file, velkano::kTagRoutePoint);
    return velkano::readInt32(file);
}

void writePointNumber(CFile& file, int32_t number) {
    velkano::writeInt16(file, velkano::kTagRoutePoint);
    velkano::writeInt32(file, number);
}

}  // namespace

bool FIOVelkano17::readRoute(CFile& hostFile, FIO_Route& route) {
    if (hostFile.GetPosition() == 0) {
        const int32_t count = velkano::readFileHeader(hostFile, velkano::kTaskFileMagic);
        if (count < 0 || count > velkano::kMaxRecordCount) velkano::throwBadFile();
        taskTotal = count;
        taskDone = 0;
        taskHeaderWritten = false;
    }
    if (taskDone >= taskTotal) return false;

    velkano::expectTag(hostFile, velkano::kTagRoute);
    const int32_t version = velkano::readInt16(hostFile);
    route.id = velkano::readInt32(hostFile);
    const int32_t listed = velkano::readInt16(hostFile);
    velkano::readInt16(hostFile);   // unused by every version
    velkano::readByte(hostFile);    // unused by every version
    velkano::readReal48(hostFile);  // unused by every version

    // Room for every point at once, rather than growing the array several times per route.
    if (listed > 0) route.points.reserve(route.points.size() + static_cast<size_t>(listed) + 2);

    // Start and finish follow from the position; in between the flag tells the role. Records
    // from before the flag existed give their inner points the plain turnpoint role.
    int32_t role = kRoleTurnpoint;
    for (int32_t i = 0; i < listed; ++i) {
        const int32_t number = readPointNumber(hostFile);
        const int32_t flag = hasPointFlags(version) ? velkano::readByte(hostFile) : 0;
        // An unknown flag keeps the role the previous point got.
        if (flag == 0) role = kRoleTurnpoint;
        if (flag == 1) role = kRoleFlagged;
        if (i == 0) {
            role = kRoleStart;
        } else if (i == listed - 1) {
            role = kRoleFinish;
        }
        // A negative number marks an empty slot; it still takes its position's role.
        if (number >= 0) route.addPoint(number, role, -1);
    }

    if (hasOuterPoints(version)) {
        const int32_t beforeStart = readPointNumber(hostFile);
        if (beforeStart >= 0) route.addPoint(beforeStart, kRoleBeforeStart, 0);
        const int32_t afterFinish = readPointNumber(hostFile);
        if (afterFinish >= 0) route.addPoint(afterFinish, kRoleAfterFinish, -1);
    }

    // A name field without a zero byte reads as all of its bytes, never beyond them.
    route.name = hasName(version) ? velkano::readText(hostFile, kRouteNameWidth)
                                  : "Route_" + std::to_string(route.id);
    if (hasEndByte(version)) velkano::readByte(hostFile);

    maxRouteId = std::max(maxRouteId, route.id);
    ++taskDone;
    return true;
}

// 'i', 5, id, n = points - 2, 0, 0, Real48 0, n x ('j', number, flag), 'j' before-start,
// 'j' after-finish, name (201), 'J'
bool FIOVelkano17::writeRoute(CFile& hostFile, const FIO_Route& route) {
    if (taskDone >= taskTotal) return false;
    // Refused before the first byte, so the task file stays readable up to this record.
    if (route.points.empty()) throw std::out_of_range("invalid vector<T> subscript");
    // A wrapped count would make this record and every one after it unreadable.
    if (static_cast<int64_t>(route.points.size()) - 2 > kMaxListedPoints) return false;

    const auto& points = route.points;
    const auto last = static_cast<int32_t>(points.size()) - 1;
    velkano::writeInt16(hostFile, velkano::kTagRoute);
    velkano::writeInt16(hostFile, kRouteVersion);
    velkano::writeInt32(hostFile, route.id);
    velkano::writeInt16(hostFile, last - 1);
    velkano::writeInt16(hostFile, 0);
    velkano::writeByte(hostFile, 0);
    velkano::writeReal48(hostFile, 0.0f);

    // Only the flagged role is stored; the reader derives every other role from the position.
    for (int32_t i = 1; i < last; ++i) {
        writePointNumber(hostFile, points[i]->number);
        velkano::writeByte(hostFile, points[i]->role == kRoleFlagged ? 1 : 0);
    }
    writePointNumber(hostFile, points[0]->number);
    writePointNumber(hostFile, points[last]->number);
    velkano::writeText(hostFile, route.name, kRouteNameWidth);
    velkano::writeByte(hostFile, kRouteEndByte);

    maxRouteId = std::max(maxRouteId, route.id);
    ++taskDone;
    return true;
}
