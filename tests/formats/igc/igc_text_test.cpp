#include "formats/igc_text.h"

#include <gtest/gtest.h>

using namespace velkano::tool;

namespace {

TEST(IgcText, RefusesLinesWithoutTheirRecordsLayout) {
    struct Case {
        const char* igc;
        size_t line;
    };
    const Case cases[] = {
        {"AXXX1\nB1305094730000N00815000EA012340125\n", 2},      // one digit short
        {"B1305094730000X00815000EA0123401250000007\n", 1},      // no hemisphere
        {"B13050947300O0N00815000EA0123401250000007\n", 1},      // letter in the minutes
        {"B1305094730000N00815000EX0123401250000007\n", 1},      // no validity
        {"B1305094730000N00815000EA012340-1250000007\n", 1},     // sign inside a number
        {"C0507040000000000000001\n", 1},                        // short declaration
        {"C050704000000000000000100\nC4730000N00815000\n", 2},   // point without hemisphere
        {"\n\nC050704000000000000000100\nC47300N008150E\n", 4},  // cut point
    };
    for (const Case& c : cases) {
        try {
            parseIgcText(c.igc);
            ADD_FAILURE() << "accepted " << c.igc;
        } catch (const IgcTextError& e) {
            EXPECT_EQ(e.line(), c.line) << c.igc;
        }
    }
    // What has no record type of ours, or none at all, is no error.
    EXPECT_TRUE(parseIgcText("\r\nX\nHF\nA\nI99\n").fixes.empty());
}

// What other writers put in IGC files too: CR LF, the newer date form, G and L records.
TEST(IgcText, ReadsEveryRecordItKnows) {
    const IgcFlightText flight = parseIgcText(
        "AXCS0042\r\n"
        "HFDTEDATE:311298,01\r\n"
        "HFPLTPILOTINCHARGE:J\xF6rg\r\n"
        "HOGTYGLIDERTYPE:Club 15\r\n"
        "I023638FXA3941ENL\r\n"
        "C311298000000000000000102\r\n"
        "C4730000N00815000ETAKEOFF\r\n"
        "C0100500S17959999W\r\n"
        "B2359594730000N00815000EA-012301250000007\r\n"
        "LXXX a comment\r\n"
        "B0000014730500S00815000WV0100001000000999\r\n"
        "GABCDEF\r\n");
    EXPECT_EQ(flight.recorderMaker, "XCS");
    EXPECT_EQ(flight.recorderSerial, "0042");
    EXPECT_EQ(flight.date.day, 31);
    EXPECT_EQ(flight.date.month, 12);
    EXPECT_EQ(flight.date.year, 1998);
    EXPECT_EQ(flight.header("PLT"), "J\xF6rg");
    ASSERT_EQ(flight.headers.size(), 3u);
    EXPECT_EQ(flight.headers[2].source, 'O');
    EXPECT_EQ(flight.header("GTY"), "Club 15");
    EXPECT_EQ(flight.header("CID"), "");
    EXPECT_EQ(flight.declaredTurnpoints, 2);
    ASSERT_EQ(flight.task.size(), 2u);
    EXPECT_DOUBLE_EQ(flight.task[0].latitude, 47.5);
    EXPECT_DOUBLE_EQ(flight.task[0].longitude, 8.25);
    EXPECT_EQ(flight.task[0].name, "TAKEOFF");
    EXPECT_DOUBLE_EQ(flight.task[1].latitude, -(1 + 0.5 / 60));
    EXPECT_DOUBLE_EQ(flight.task[1].longitude, -(179 + 59.999 / 60));
    EXPECT_EQ(flight.task[1].name, "");
    ASSERT_EQ(flight.fixes.size(), 2u);
    EXPECT_EQ(flight.fixes[0].seconds, 86399);
    EXPECT_EQ(flight.fixes[0].pressureAltitude, -123);
    EXPECT_EQ(flight.fixes[0].gnssAltitude, 1250);
    EXPECT_TRUE(flight.fixes[0].valid);
    EXPECT_EQ(flight.extension(flight.fixes[0], "ENL"), 7);
    // Past midnight the count goes on.
    EXPECT_EQ(flight.fixes[1].seconds, 86401);
    EXPECT_DOUBLE_EQ(flight.fixes[1].latitude, -(47 + 30.5 / 60));
    EXPECT_DOUBLE_EQ(flight.fixes[1].longitude, -(8 + 15.0 / 60));
    EXPECT_FALSE(flight.fixes[1].valid);
    EXPECT_EQ(flight.extension(flight.fixes[1], "ENL"), 999);
    EXPECT_EQ(flight.extension(flight.fixes[1], "TAS"), -1);
}

}  // namespace
