// Route records: reading every version into a host route with its roles, writing version 5.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "driver_checks.h"
#include "byte_writer.h"
#include "route_operations.h"
#include "mem_file.h"
#include "route_file_encoder.h"
#include "velkano/fio_error.h"

namespace {

using testenc::RouteRecordFields;

using Points = std::vector<std::pair<int32_t, int32_t>>;  // number, role

Points pointsOf(const FIO_Route& route) {
    Points points;
    for (const FIO_TPEntry* point : route.points) points.emplace_back(point->number, point->role);
    return points;
}

RouteRecordFields routeDesc(int version, std::vector<testenc::RoutePointFields> listed,
                            int32_t beforeStart = -1, int32_t afterFinish = -1) {
    RouteRecordFields desc;
    desc.version = version;
    desc.id = 12;
    desc.listed = std::move(listed);
    desc.beforeStart = {beforeStart};
    desc.afterFinish = {afterFinish};
    desc.name = "Ridge run";
    return desc;
}

struct RoleCase {
    const char* what;
    RouteRecordFields desc;
    Points expected;
};

TEST(ReadRouteTest, DerivesRolesFromPositionAndFlag) {
    const RoleCase cases[] = {
        {"outer points around three listed",
         routeDesc(5, {{1, 0}, {2, 1}, {3, 0}}, 10, 11),
         {{10, 6}, {1, 4}, {2, 3}, {3, 7}, {11, 5}}},
        {"single listed point is the start", routeDesc(5, {{1, 0}}), {{1, 4}}},
        {"single flagged point is still the start", routeDesc(5, {{1, 1}}), {{1, 4}}},
        {"unknown flag keeps the start's role",
         routeDesc(5, {{1, 0}, {2, 2}, {3, 0}, {4, 0}}),
         {{1, 4}, {2, 4}, {3, 1}, {4, 7}}},
        {"unknown flag keeps a flagged role",
         routeDesc(5, {{1, 0}, {2, 1}, {3, -1}, {4, 0}}),
         {{1, 4}, {2, 3}, {3, 3}, {4, 7}}},
        {"skipped last point leaves no finish",
         routeDesc(5, {{1, 0}, {2, 0}, {-1, 0}}),
         {{1, 4}, {2, 1}}},
        {"skipped first point leaves no start",
         routeDesc(5, {{-1, 0}, {2, 1}, {3, 0}}),
         {{2, 3}, {3, 7}}},
        {"zero is a turnpoint number",
         routeDesc(5, {{0, 0}, {0, 0}}, 0, 0),
         {{0, 6}, {0, 4}, {0, 7}, {0, 5}}},
        {"negative count lists nothing",
         [] {
             auto desc = routeDesc(5, {}, 10, 11);
             desc.listedCount = -3;
             return desc;
         }(),
         {{10, 6}, {11, 5}}},
        {"version 0 inner points are plain turnpoints",
         routeDesc(0, {{1}, {2}, {3}, {4}}),
         {{1, 4}, {2, 1}, {3, 1}, {4, 7}}},
        {"negative version reads like version 0",
         routeDesc(-2, {{1}, {2}, {3}}),
         {{1, 4}, {2, 1}, {3, 7}}},
        {"version 2 has no outer points", routeDesc(2, {{1, 0}, {2, 1}}), {{1, 4}, {2, 7}}},
        {"version 3 has outer points",
         routeDesc(3, {{1, 0}, {2, 1}, {3, 0}}, 10, 11),
         {{10, 6}, {1, 4}, {2, 3}, {3, 7}, {11, 5}}},
    };
    for (const auto& c : cases) {
        MemFile file(testenc::encodeTaskFile({c.desc}));
        velkano::RouteState state;
        FIO_Route route;
        ASSERT_TRUE(velkano::readNextRoute(state, file, route)) << c.what;
        EXPECT_EQ(pointsOf(route), c.expected) << c.what;
        EXPECT_EQ(file.GetPosition(),
                  testenc::kFileHeaderSize +
                      testenc::routeRecordSize(c.desc.version, c.desc.listed.size()))
            << c.what;
    }
}

TEST(ReadRouteTest, ReadsEachVersionsFieldsAndNothingMore) {
    struct NameCase {
        int version;
        int32_t id;
        std::string name;
        std::string expected;
    };
    const NameCase cases[] = {
        {0, 7, "ignored", "Route_7"},
        {1, 0, "ignored", "Route_0"},
        {2, -5, "ignored", "Route_-5"},
        {3, 12, "ignored", "Route_12"},
        {3, INT32_MIN, "ignored", "Route_-2147483648"},
        {4, 12, "Ridge run", "Ridge run"},
        {5, 12, "Ridge run", "Ridge run"},
        {5, 12, "", ""},
        {5, 12, std::string(201, 'N'), std::string(201, 'N')},
        {9, 12, "Later version", "Later version"},
    };
    for (const auto& c : cases) {
        // A second record right behind the first shows the first consumed exactly its bytes.
        auto first = routeDesc(c.version, {{1, 0}, {2, 1}}, 3, 4);
        first.id = c.id;
        first.name = c.name;
        first.junkInReserved = true;
        auto second = routeDesc(5, {{8, 0}});
        second.id = 99;
        MemFile file(testenc::encodeTaskFile({first, second}));
        velkano::RouteState state;
        FIO_Route route;
        FIO_Route next;
        ASSERT_TRUE(velkano::readNextRoute(state, file, route)) << c.version;
        EXPECT_EQ(route.id, c.id);
        EXPECT_EQ(route.name, c.expected) << c.version;
        ASSERT_TRUE(velkano::readNextRoute(state, file, next)) << c.version;
        EXPECT_EQ(next.id, 99) << c.version;
        EXPECT_EQ(pointsOf(next), (Points{{8, 4}})) << c.version;
        EXPECT_FALSE(velkano::readNextRoute(state, file, next));
        EXPECT_EQ(state.routes.done, 2);
        EXPECT_EQ(state.maxRouteId, std::max(c.id, 99));
    }
}

TEST(ReadRouteTest, BadTagStopsWhereItWasFound) {
    struct TagCase {
        const char* where;
        void (*breakTag)(RouteRecordFields&);
        uint32_t consumed;  // bytes of the record read before the exception
        Points kept;
    };
    const TagCase cases[] = {
        {"record tag", [](RouteRecordFields& s) { s.tag = 'j'; }, 2, {}},
        {"first listed point", [](RouteRecordFields& s) { s.listed[0].tag = 'i'; }, 21, {}},
        {"last listed point",
         [](RouteRecordFields& s) { s.listed[2].tag = 0; },
         35,
         {{1, 4}, {2, 3}}},
        {"before-start point",
         [](RouteRecordFields& s) { s.beforeStart.tag = 'J'; },
         42,
         {{1, 4}, {2, 3}, {3, 7}}},
        {"after-finish point",
         [](RouteRecordFields& s) { s.afterFinish.tag = 'k'; },
         48,
         {{10, 6}, {1, 4}, {2, 3}, {3, 7}}},
    };
    for (const auto& c : cases) {
        auto desc = routeDesc(5, {{1, 0}, {2, 1}, {3, 0}}, 10, 11);
        c.breakTag(desc);
        MemFile file(testenc::encodeTaskFile({desc}));
        velkano::RouteState state;
        state.maxRouteId = 3;
        FIO_Route route;
        SCOPED_TRACE(c.where);
        testing_support::expectFioError([&] { velkano::readNextRoute(state, file, route); },
                                        FIO_Error::kBadObject);
        EXPECT_EQ(file.GetPosition(), testenc::kFileHeaderSize + c.consumed) << c.where;
        EXPECT_EQ(pointsOf(route), c.kept) << c.where;
        EXPECT_EQ(route.id, c.consumed > 2 ? 12 : 0) << c.where;
        EXPECT_EQ(state.routes.done, 0) << c.where;
        EXPECT_EQ(state.maxRouteId, 3) << c.where;
    }
}

// A host route of points with the given numbers and roles.
void fill(FIO_Route& route, const Points& points) {
    for (const auto& [number, role] : points) route.addPoint(number, role, -1);
}

TEST(WriteRouteTest, WritesAVersion5RecordByteForByte) {
    FIO_Route route;
    route.id = 7;
    route.name = "Ab";
    fill(route, {{10, 1}, {1, 3}, {2, 3}, {3, 5}, {11, 3}});
    MemFile file;
    velkano::RouteState state;
    state.routes.total = 1;
    ASSERT_TRUE(velkano::writeNextRoute(state, file, route));

    ByteWriter expected;
    expected.i16('i').i16(5).i32(7).i16(3).i16(0).u8(0).zeros(6);
    expected.i16('j').i32(1).u8(1).i16('j').i32(2).u8(1).i16('j').i32(3).u8(0);
    expected.i16('j').i32(10).i16('j').i32(11);
    expected.text("Ab", 201).u8('J');
    EXPECT_EQ(file.bytes(), expected.bytes);
    EXPECT_EQ(file.bytes().size(), 233u + 7 * 3);
    EXPECT_EQ(state.routes.done, 1);
    EXPECT_EQ(state.maxRouteId, 7);
}

TEST(WriteRouteTest, ShortRoutesAndLongNames) {
    struct ShapeCase {
        const char* what;
        Points points;
        std::string name;
        int listedField;
        int32_t beforeStart;
        int32_t afterFinish;
        std::string storedName;
    };
    const std::string longest(velkano::longestText(velkano::kRouteNameWidth), 'q');
    const ShapeCase cases[] = {
        {"one point", {{5, 1}}, "", -1, 5, 5, ""},
        {"two points", {{5, 1}, {6, 1}}, "x", 0, 5, 6, "x"},
        {"long name", {{5, 1}, {6, 1}}, longest + "qqqqq", 0, 5, 6, longest},
        {"longest name", {{5, 1}, {6, 1}}, longest, 0, 5, 6, longest},
    };
    for (const auto& c : cases) {
        FIO_Route route;
        route.id = -4;
        route.name = c.name;
        fill(route, c.points);
        MemFile file;
        velkano::RouteState state;
        state.routes.total = 1;
        state.maxRouteId = 2;
        ASSERT_TRUE(velkano::writeNextRoute(state, file, route)) << c.what;
        ByteWriter expected;
        expected.i16('i').i16(5).i32(-4).i16(c.listedField).i16(0).u8(0).zeros(6);
        expected.i16('j').i32(c.beforeStart).i16('j').i32(c.afterFinish);
        expected.text(c.storedName, 201).u8('J');
        EXPECT_EQ(file.bytes(), expected.bytes) << c.what;
        EXPECT_EQ(state.maxRouteId, 2) << c.what;
    }
}

TEST(WriteRouteTest, RefusesBeyondTheAnnouncedCountWithoutWriting) {
    FIO_Route route;
    fill(route, {{1, 1}, {2, 1}});
    MemFile file;
    velkano::RouteState state;
    state.routes.total = 1;
    state.routes.done = 1;
    EXPECT_FALSE(velkano::writeNextRoute(state, file, route));
    state.routes.total = -1;
    state.routes.done = 0;
    EXPECT_FALSE(velkano::writeNextRoute(state, file, route));
    EXPECT_EQ(file.writes, 0);
    EXPECT_EQ(state.routes.done, 0);
}

TEST(WriteRouteTest, RouteWithoutPointsThrowsBeforeWritingAByte) {
    FIO_Route route;
    route.id = 50;
    MemFile file;
    velkano::RouteState state;
    state.routes.total = 2;
    try {
        velkano::writeNextRoute(state, file, route);
        ADD_FAILURE() << "no error";
    } catch (const std::out_of_range& error) {
        EXPECT_STREQ(error.what(), "invalid vector<T> subscript");
    }
    EXPECT_EQ(file.writes, 0);
    EXPECT_EQ(state.routes.done, 0);
    EXPECT_EQ(state.maxRouteId, 0);
}

TEST(WriteRouteTest, RefusesMoreListedPointsThanTheCountFieldHolds) {
    // The count is an int16: 32767 listed points (with the two outer ones) still read back;
    // one more would be stored with a wrapped count and lose the route and all after it.
    for (const auto& [points, writes] : {std::pair{32769, true}, std::pair{32770, false}}) {
        FIO_Route route;
        for (int i = 0; i < points; ++i) route.addPoint(i, 1, -1);
        MemFile file;
        velkano::RouteState writer;
        ASSERT_TRUE(velkano::startTaskFile(writer, file, 1));
        const int headerWrites = file.writes;
        ASSERT_EQ(velkano::writeNextRoute(writer, file, route), writes) << points;
        if (!writes) {
            EXPECT_EQ(file.writes, headerWrites);
            EXPECT_EQ(writer.routes.done, 0);
            continue;
        }
        MemFile reread(file.bytes());
        velkano::RouteState reader;
        FIO_Route back;
        ASSERT_TRUE(velkano::readNextRoute(reader, reread, back));
        ASSERT_EQ(back.points.size(), static_cast<size_t>(points));
        EXPECT_EQ(back.points.back()->number, points - 1);
    }
}

TEST(WriteRouteTest, ReadsBackWithRolesFromThePositions) {
    const std::pair<Points, Points> cases[] = {
        {{{5, 1}}, {{5, 6}, {5, 5}}},
        {{{5, 1}, {6, 7}}, {{5, 6}, {6, 5}}},
        {{{5, 4}, {1, 1}, {6, 4}}, {{5, 6}, {1, 4}, {6, 5}}},
        {{{5, 1}, {1, 3}, {2, 3}, {3, 1}, {4, 3}, {6, 1}},
         {{5, 6}, {1, 4}, {2, 3}, {3, 1}, {4, 7}, {6, 5}}},
    };
    for (const auto& [written, read] : cases) {
        FIO_Route route;
        route.id = 3;
        route.name = "Back";
        fill(route, written);
        MemFile file;
        velkano::RouteState writer;
        ASSERT_TRUE(velkano::startTaskFile(writer, file, 1));
        ASSERT_TRUE(velkano::writeNextRoute(writer, file, route));
        MemFile reread(file.bytes());
        velkano::RouteState reader;
        FIO_Route back;
        ASSERT_TRUE(velkano::readNextRoute(reader, reread, back));
        EXPECT_EQ(back.id, 3);
        EXPECT_EQ(back.name, "Back");
        EXPECT_EQ(pointsOf(back), read) << written.size();
    }
}

}  // namespace
