// Task files that share one companion turnpoint file, read in turns.
#include <gtest/gtest.h>

#include <vector>

#include "route_host.h"

namespace {

using namespace route_host;

// a.rtx and a.bak both lie beside a.top: the turnpoints go to the host once, whichever task
// file asks, and switching between the two does not start them over.
TEST_F(RouteDriverTest, TaskFilesBesideOneCompanionShareItsTurnpoints) {
    writeFileBytes(path("a.top"), testenc::encodeTpFile({tpDesc(1), tpDesc(2)}));
    writeFileBytes(path("a.rtx"), testenc::encodeTaskFile({routeDesc(100)}));
    writeFileBytes(path("a.bak"), testenc::encodeTaskFile({routeDesc(200)}));

    const ReadPass first = read(path("a.rtx"), 1);
    EXPECT_EQ(first.tpNumbers(), (std::vector<int32_t>{1}));
    const ReadPass other = read(path("a.bak"));
    EXPECT_EQ(other.results, (std::vector<int32_t>{1, 2, -1}));
    EXPECT_EQ(other.tpNumbers(), (std::vector<int32_t>{2}));
    EXPECT_EQ(other.routeIds(), (std::vector<int32_t>{200}));
    const ReadPass back = read(path("a.rtx"));
    EXPECT_EQ(back.results, (std::vector<int32_t>{2, -1}));
    EXPECT_EQ(back.routeIds(), (std::vector<int32_t>{100}));
}

}  // namespace
