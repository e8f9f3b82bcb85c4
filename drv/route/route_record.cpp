#include "route_record.h"

#include <stdexcept>
#include <string>

#include "record_io.h"

namespace velkano {

namespace {

constexpr int32_t kRouteVersion = 5;
constexpr int32_t kRouteEndByte = 'J';
constexpr int32_t kPointFlagged = 1;
constexpr char kUnnamedRoutePrefix[] = "Route_";

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

struct RouteHead {
    int32_t version = 0;
    int32_t listed = 0;
};

// 'i', version, id, listed point count, int16, byte, Real48
RouteHead readHead(CFile& file, FIO_Route& route) {
    expectTag(file, kTagRoute);
    RouteHead head;
    head.version = readInt16(file);
    route.id = readInt32(file);
    head.listed = readInt16(file);
    readInt16(file);   // unused by every version
    readByte(file);    // unused by every version
    readReal48(file);  // unused by every version
    return head;
}

// A 'j' sub-record's tag and turnpoint number.
int32_t readPointNumber(CFile& file) {
    expectTag(file, kTagRoutePoint);
    return readInt32(file);
}

// Start and finish follow from the position; in between the flag tells the role. Records
// from before the flag existed give their inner points the plain turnpoint role.
void readListedPoints(CFile& file, const RouteHead& head, FIO_Route& route) {
    int32_t role = kRoleTurnpoint;
    for (int32_t i = 0; i < head.listed; ++i) {
        const int32_t number = readPointNumber(file);
        const int32_t flag = hasPointFlags(head.version) ? readByte(file) : 0;
        // An unknown flag keeps the role the previous point got.
        if (flag == 0) role = kRoleTurnpoint;
        if (flag == kPointFlagged) role = kRoleFlaggedTurnpoint;
        if (i == 0) {
            role = kRoleStart;
        } else if (i == head.listed - 1) {
            role = kRoleFinish;
        }
        // A negative number marks an empty slot; it still takes its position's role.
        if (number >= 0) route.addPoint(number, role, -1);
    }
}

void readOuterPoints(CFile& file, FIO_Route& route) {
    const int32_t beforeStart = readPointNumber(file);
    if (beforeStart >= 0) route.addPoint(beforeStart, kRoleBeforeStart, 0);
    const int32_t afterFinish = readPointNumber(file);
    if (afterFinish >= 0) route.addPoint(afterFinish, kRoleAfterFinish, -1);
}

void writePointNumber(CFile& file, int32_t number) {
    writeInt16(file, kTagRoutePoint);
    writeInt32(file, number);
}

}  // namespace

void readRouteRecord(CFile& file, FIO_Route& route) {
    const RouteHead head = readHead(file, route);
    // Room for every point at once, rather than growing the array several times per route.
    if (head.listed > 0) {
        route.points.reserve(route.points.size() + static_cast<size_t>(head.listed) + 2);
    }
    readListedPoints(file, head, route);
    if (hasOuterPoints(head.version)) readOuterPoints(file, route);
    // A name field without a zero byte reads as all of its bytes, never beyond them.
    route.name = hasName(head.version) ? readText(file, kRouteNameWidth)
                                       : kUnnamedRoutePrefix + std::to_string(route.id);
    if (hasEndByte(head.version)) readByte(file);
}

// 'i', 5, id, n = points - 2, 0, 0, Real48 0, n x ('j', number, flag), 'j' before-start,
// 'j' after-finish, name (201), 'J'
bool writeRouteRecord(CFile& file, const FIO_Route& route) {
    // Refused before the first byte, so the task file stays readable up to this record.
    if (route.points.empty()) throw std::out_of_range("invalid vector<T> subscript");
    // A wrapped count would make this record and every one after it unreadable.
    if (static_cast<int64_t>(route.points.size()) - 2 > kMaxListedPoints) return false;

    const auto& points = route.points;
    const auto last = static_cast<int32_t>(points.size()) - 1;
    writeInt16(file, kTagRoute);
    writeInt16(file, kRouteVersion);
    writeInt32(file, route.id);
    writeInt16(file, last - 1);
    writeInt16(file, 0);
    writeByte(file, 0);
    writeReal48(file, 0.0f);

    // Only the flagged role is stored; the reader derives every other role from the position.
    for (int32_t i = 1; i < last; ++i) {
        writePointNumber(file, points[i]->number);
        writeByte(file, points[i]->role == kRoleFlaggedTurnpoint ? kPointFlagged : 0);
    }
    writePointNumber(file, points[0]->number);
    writePointNumber(file, points[last]->number);
    writeText(file, route.name, kRouteNameWidth);
    writeByte(file, kRouteEndByte);
    return true;
}

}  // namespace velkano
