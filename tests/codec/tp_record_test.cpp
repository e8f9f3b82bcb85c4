#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "driver_checks.h"
#include "route_operations.h"
#include "mem_file.h"
#include "tp_record.h"
#include "tp_record_encoder.h"
#include "velkano/fio_error.h"

namespace {

using testenc::encodeTpRecord;
using testenc::TpRecordFields;
using Bytes = std::vector<uint8_t>;

// Offsets in a version-5 record without point list.
constexpr size_t kFrequencyOffset = 117;
constexpr size_t kRunwayBlockOffset = 160;

void expectSameEntry(const FIO_TPEntry& a, const FIO_TPEntry& b) {
    EXPECT_EQ(testing_support::entryMembers(a), testing_support::entryMembers(b));
}

// An entry full of values no record below produces.
FIO_TPEntry prefilledEntry() {
    FIO_TPEntry e;
    e.number = 77;
    e.aux = 5;
    e.name = "old name";
    e.shortName = "old";
    e.comment = "old comment";
    e.elevation = 9;
    e.markFlag = 1;
    e.latitude = -1.0f;
    e.longitude = -2.0f;
    e.kind = 768;
    e.extraText = "x";
    e.extraValue = 6;
    e.icaoCode = "OLDC";
    e.frequency = "1.000";
    e.runwayLength = 3;
    e.runwayDirection = 4;
    e.surface = velkano::kSurfaceF;
    e.extraText2 = "y";
    std::fill(std::begin(e.extraWords), std::end(e.extraWords), 8);
    e.role = velkano::kRoleStart;
    return e;
}

FIO_TPEntry readRecord(const Bytes& bytes, FIO_TPEntry entry = FIO_TPEntry()) {
    MemFile file(bytes);
    velkano::readTpRecord(file, entry);
    EXPECT_EQ(file.GetPosition(), bytes.size()) << "record not consumed exactly";
    return entry;
}

Bytes writeRecord(const FIO_TPEntry& entry, int32_t number = 1) {
    MemFile file;
    velkano::writeTpRecord(file, entry, number);
    return file.bytes();
}

TEST(TpRecordRead, ReadsEveryVersionFieldByField) {
    for (int version : {-3, 0, 1, 2, 3, 4, 5, 6, 0x7FFF, 0x8000}) {
        for (bool junk : {false, true}) {
            TpRecordFields desc;
            desc.version = version;
            desc.number = 4711;
            desc.kindByte = 'L';
            desc.name = "Hilltop";
            // Built, not assigned from the literal: GCC 12 at -O3 warns falsely about the
            // assignment (maybe-uninitialized inside std::string).
            desc.shortName = std::string("HT");
            desc.latitude = 47.5;
            desc.longitude = -8.25;
            desc.points = {{1.0, 2.0}, {3.0, 4.0}};
            desc.elevation = 451.9;
            desc.frequency = 122.5;
            desc.runways = {{600.7, 90, 'F'}};
            desc.comment = "on the ridge";
            desc.markByte = 0x80;
            desc.junkInReserved = junk;
            const bool hasShortName = static_cast<int16_t>(version) >= 5;
            const bool hasComment = static_cast<int16_t>(version) >= 4;
            SCOPED_TRACE(testing::Message() << "version " << version << " junk " << junk);

            const FIO_TPEntry e = readRecord(encodeTpRecord(desc));
            EXPECT_EQ(e.number, 4711);
            EXPECT_EQ(e.kind, 4);
            EXPECT_EQ(e.name, "Hilltop");
            EXPECT_EQ(e.shortName, hasShortName ? "HT" : "");
            EXPECT_EQ(e.latitude, 47.5f);
            EXPECT_EQ(e.longitude, -8.25f);
            EXPECT_EQ(e.elevation, 451);
            EXPECT_EQ(e.frequency, "122.500");
            EXPECT_EQ(e.runwayLength, 600);
            EXPECT_EQ(e.runwayDirection, 90);
            EXPECT_EQ(e.surface, 3);
            EXPECT_EQ(e.comment, hasComment ? "on the ridge" : "");
            EXPECT_EQ(e.markFlag, hasComment ? 1 : 0);
        }
    }
}

TEST(TpRecordRead, AppliesIcaoRuleAndNameExchange) {
    struct Case {
        int version;
        int kindByte;
        const char* name;
        const char* shortName;
        const char* icao;
        const char* wantName;
        const char* wantShortName;
        const char* wantIcao;  // the prefilled entry holds "OLDC"
    };
    const Case cases[] = {
        {5, 12, "Alpha", "", "EDXY", "Alpha", "", "EDXY"},
        {5, 9, "Alpha", "", "EDXY", "Alpha", "EDXY", "OLDC"},
        {5, 12, "Alpha", "", "EDX", "Alpha", "EDX", "OLDC"},
        {5, 12, "Alpha", "", "EDXYZ", "Alpha", "EDXYZ", "OLDC"},
        {5, 9, "Alpha", "AL", "EDXY", "Alpha", "AL", "OLDC"},
        {5, 10, "Alpha", "", "EDXY", "Alpha", "", "EDXY"},  // kind stays 768, an airfield
        {4, 9, "Alpha", "AL", "ALP", "Alpha", "ALP", "OLDC"},
        {4, 14, "Alpha", "AL", "EDXY", "Alpha", "", "EDXY"},
        {5, 9, "Al", "ALPHA", "", "ALPHA", "Al", "OLDC"},
        {5, 9, "Al", "", "ALPHA", "ALPHA", "Al", "OLDC"},
        {5, 9, "AB", "CD", "", "AB", "CD", "OLDC"},
        {5, 9, "", "X", "", "X", "", "OLDC"},
    };
    for (const Case& c : cases) {
        TpRecordFields desc;
        desc.version = c.version;
        desc.kindByte = c.kindByte;
        desc.name = c.name;
        desc.shortName = c.shortName;
        desc.icao = c.icao;
        const FIO_TPEntry e = readRecord(encodeTpRecord(desc), prefilledEntry());
        SCOPED_TRACE(testing::Message() << c.kindByte << " " << c.name << " " << c.icao);
        EXPECT_EQ(e.name, c.wantName);
        EXPECT_EQ(e.shortName, c.wantShortName);
        EXPECT_EQ(e.icaoCode, c.wantIcao);
    }
}

TEST(TpRecordRead, MapsKindBytesAndLeavesUnknownOnes) {
    const std::pair<int, int32_t> known[] = {
        {9, 1},     {19, 1},    {'K', 1},    {'L', 4},   {'N', 5},   {'I', 7},
        {'$', 8},   {'%', 8},   {'&', 8},    {'\'', 8},  {'M', 10},  {12, 256},
        {14, 512},  {15, 512},  {16, 768},   {17, 768},  {13, 1024}, {22, 1536},
        {23, 1536}, {18, 1792}, {'O', 2048}, {20, 2304}, {21, 2560}, {'J', 2816},
    };
    for (const auto& [kindByte, kind] : known) {
        TpRecordFields desc;
        desc.kindByte = kindByte;
        EXPECT_EQ(readRecord(encodeTpRecord(desc), prefilledEntry()).kind, kind) << kindByte;
    }
    for (int kindByte : {0, 1, 10, 11, 24, 40, int{'A'}, int{'P'}, 0x89, 0xFF}) {
        TpRecordFields desc;
        desc.kindByte = kindByte;
        EXPECT_EQ(readRecord(encodeTpRecord(desc), prefilledEntry()).kind, 768) << kindByte;
    }
}

TEST(TpRecordRead, RunwaysLastEntryWinsAndLargeDirectionsAreTenths) {
    struct Case {
        std::vector<testenc::TpRunwayFields> runways;
        int32_t length, direction, surface;  // prefilled: 3, 4, surface 3
    };
    const Case cases[] = {
        {{{800, 2700, 'G'}}, 800, 270, 1},
        {{{800, 361, 'H'}}, 800, 36, 0},
        {{{800, 360, 'F'}}, 800, 360, 3},
        {{{800, -20, 'G'}}, 800, -20, 1},
        {{{800, -32768, 'G'}}, 800, -32768, 1},
        {{{800, 32767, 'G'}}, 800, 3276, 1},
        {{{800, 90, 'X'}}, 800, 90, 3},
        {{{800, 90, 'G'}, {1200.5, 120, 'H'}}, 1200, 120, 0},
        {{{800, 90, 'G'}, {-3.7, 0, 0}}, -3, 0, 3},
        {{}, 0, 0, 3},
    };
    for (const Case& c : cases) {
        TpRecordFields desc;
        desc.runways = c.runways;
        const FIO_TPEntry e = readRecord(encodeTpRecord(desc), prefilledEntry());
        SCOPED_TRACE(testing::Message() << c.runways.size() << " runways, " << c.direction);
        EXPECT_EQ(e.runwayLength, c.length);
        EXPECT_EQ(e.runwayDirection, c.direction);
        EXPECT_EQ(e.surface, c.surface);
        EXPECT_EQ(e.extraWords[0], 0);
        EXPECT_EQ(e.extraWords[1], 8);
    }
}

TEST(TpRecordRead, NegativeCountsMeanNoEntries) {
    TpRecordFields desc;
    desc.pointCount = -1;
    desc.runwayCount = -5;
    desc.elevation = 12;
    EXPECT_EQ(readRecord(encodeTpRecord(desc)).elevation, 12);
}

TEST(TpRecordRead, BadTagThrowsAndLeavesEntryUntouched) {
    using Break = std::function<void(TpRecordFields&)>;
    const std::pair<const char*, Break> cases[] = {
        {"record", [](TpRecordFields& s) { s.tag = 'm'; }},
        {"position", [](TpRecordFields& s) { s.positionTag = 's'; }},
        {"detail block", [](TpRecordFields& s) { s.detailTag = 'n'; }},
        {"point list",
         [](TpRecordFields& s) {
             s.points = {{1, 2}, {3, 4, 'R'}};
         }},
        {"reserved pair 1", [](TpRecordFields& s) { s.reservedPairTag1 = 0; }},
        {"reserved pair 2", [](TpRecordFields& s) { s.reservedPairTag2 = 'r' + 256; }},
        {"runway block", [](TpRecordFields& s) { s.runwayBlockTag = 'm'; }},
        {"runway",
         [](TpRecordFields& s) {
             s.runways = {{800, 90, 'G', 'r'}};
         }},
        {"second runway",
         [](TpRecordFields& s) {
             s.runways = {{800, 90, 'G'}, {1, 2, 'H', 0}};
         }},
    };
    for (const auto& [where, breakIt] : cases) {
        TpRecordFields desc;
        desc.name = "Fresh";
        desc.kindByte = 12;
        desc.icao = "EDXY";
        desc.comment = "new";
        breakIt(desc);
        MemFile file(encodeTpRecord(desc));
        FIO_TPEntry entry = prefilledEntry();
        SCOPED_TRACE(where);
        testing_support::expectFioError([&] { velkano::readTpRecord(file, entry); },
                                        FIO_Error::kBadObject);
        expectSameEntry(entry, prefilledEntry());
    }
}

// Every cut of a record fails before the entry changes, wherever it falls: a field the file
// cannot fill is as wrong as a wrong tag.
TEST(TpRecordRead, EveryCutRecordFailsAndLeavesTheEntryAlone) {
    TpRecordFields desc;
    desc.name = "Cut";
    desc.runways = {{800, 90, 'G'}};
    const Bytes whole = encodeTpRecord(desc);
    for (size_t length = 0; length < whole.size(); ++length) {
        MemFile file = MemFile::leavingShortReadsUnfilled(
            Bytes(whole.begin(), whole.begin() + static_cast<long>(length)));
        FIO_TPEntry entry = prefilledEntry();
        EXPECT_THROW(velkano::readTpRecord(file, entry), FIO_Error) << length;
        expectSameEntry(entry, prefilledEntry());
    }
    MemFile file(whole);
    FIO_TPEntry entry;
    velkano::readTpRecord(file, entry);
    EXPECT_EQ(entry.name, "Cut");
}

// Arbitrary bytes either read or raise FIO_Error; values such as a huge elevation must not
// turn into undefined conversions.
TEST(TpRecordRead, SurvivesCorruptedRecords) {
    TpRecordFields desc;
    desc.points = {{1, 2}};
    desc.runways = {{800, 90, 'G'}};
    const Bytes valid = encodeTpRecord(desc);
    std::mt19937 random(2023);
    int failures = 0;
    for (int i = 0; i < 20000; ++i) {
        Bytes bytes = valid;
        for (int flips = 1 + i % 4; flips > 0; --flips) {
            bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
        }
        MemFile file(bytes);
        FIO_TPEntry entry;
        try {
            velkano::readTpRecord(file, entry);
        } catch (const FIO_Error&) {
            ++failures;
        }
    }
    EXPECT_GT(failures, 0);
    EXPECT_LT(failures, 20000);
}

TEST(TpRecordRead, ReadsEachFieldWithOneRead) {
    TpRecordFields desc;
    desc.points = {{1, 2}};
    desc.runways = {{800, 90, 'G'}, {900, 80, 'H'}};
    MemFile file(encodeTpRecord(desc));
    FIO_TPEntry entry;
    velkano::readTpRecord(file, entry);
    EXPECT_EQ(file.reads, 42 + 3 + 2 * 4);
}

// The entry of the 308-byte example record.
FIO_TPEntry airfieldEntry() {
    FIO_TPEntry e;
    e.kind = velkano::kFirstAirfieldKind;
    e.name = "Alpha";
    e.shortName = "AL";
    e.icaoCode = "EDXY";
    e.frequency = "122.500";
    e.elevation = 450;
    e.runwayLength = 800;
    e.runwayDirection = 250;
    e.surface = velkano::kSurfaceG;
    e.comment = "grass strip";
    e.markFlag = 1;
    e.latitude = 47.5f;
    e.longitude = -179.999f;
    return e;
}

TEST(TpRecordWrite, WritesAirfieldAsVersion5AndReadsItBack) {
    const FIO_TPEntry entry = airfieldEntry();
    MemFile file;
    velkano::writeTpRecord(file, entry, 1);
    const Bytes& bytes = file.bytes();
    ASSERT_EQ(bytes.size(), 308u);
    EXPECT_EQ(file.writes, 46);
    EXPECT_EQ(bytes, encodeTpRecord(testenc::tpFieldsFromEntry(entry, 1)));
    EXPECT_EQ(bytes[2], 5);
    EXPECT_EQ(bytes[4], 1);
    EXPECT_EQ(bytes[8], 12);

    FIO_TPEntry expected = entry;
    expected.number = 1;
    expectSameEntry(readRecord(bytes), expected);
}

TEST(TpRecordWrite, RunwayEntryOnlyWhenLengthOrDirectionSet) {
    FIO_TPEntry entry = airfieldEntry();
    entry.runwayLength = 0;
    entry.runwayDirection = 0;
    const Bytes none = writeRecord(entry);
    ASSERT_EQ(none.size(), 297u);
    EXPECT_EQ(Bytes(none.begin() + kRunwayBlockOffset, none.begin() + kRunwayBlockOffset + 8),
              (Bytes{50, 0, 0, 0, 1, 0, 2, 0}));
    const FIO_TPEntry back = readRecord(none);
    EXPECT_EQ(back.runwayLength, 0);
    EXPECT_EQ(back.runwayDirection, 0);
    EXPECT_EQ(back.surface, 5);

    entry.runwayDirection = 90;
    const Bytes one = writeRecord(entry);
    ASSERT_EQ(one.size(), 308u);
    EXPECT_EQ(Bytes(one.begin() + kRunwayBlockOffset, one.begin() + kRunwayBlockOffset + 17),
              (Bytes{50, 0, 1, 0, 2, 0, 2, 0, 's', 0, 0, 0, 0, 0, 0, 0, 90}));
    EXPECT_EQ(readRecord(one).runwayDirection, 90);
}

TEST(TpRecordWrite, MapsKindsAndSurfacesOutsideTheTables) {
    for (int32_t kind : {1,    4,    5,    7,    8,    10, 256, 512, 768, 1024, 1536,
                         1792, 2048, 2304, 2560, 2816, 0,  2,   3,   255, 257,  -1}) {
        FIO_TPEntry entry;
        entry.kind = kind;
        EXPECT_EQ(writeRecord(entry)[8], testenc::kindByteForKind(kind)) << kind;
    }
    const std::pair<int32_t, uint8_t> surfaces[] = {{0, 'H'}, {1, 'G'}, {3, 'F'}, {2, 0}, {5, 0}};
    for (const auto& [surface, letter] : surfaces) {
        FIO_TPEntry entry;
        entry.runwayLength = 1;
        entry.surface = surface;
        EXPECT_EQ(writeRecord(entry)[kRunwayBlockOffset + 18], letter) << surface;
    }
    TpRecordFields desc;
    desc.kindByte = '\'';
    EXPECT_EQ(writeRecord(readRecord(encodeTpRecord(desc)))[8], '$');
}

TEST(TpRecordWrite, CutsTextsAtTheirWidths) {
    FIO_TPEntry entry;
    entry.name = std::string(35, 'N');
    entry.shortName = std::string(25, 'S');
    entry.icaoCode = std::string(40, 'I');
    entry.comment = std::string(150, 'C');
    const FIO_TPEntry back = readRecord(writeRecord(entry));
    using velkano::longestText;
    EXPECT_EQ(back.name, std::string(longestText(velkano::kTurnpointNameWidth), 'N'));
    EXPECT_EQ(back.shortName, std::string(longestText(velkano::kTurnpointShortNameWidth), 'S'));
    EXPECT_EQ(back.comment, std::string(longestText(velkano::kTurnpointCommentWidth), 'C'));
    EXPECT_EQ(writeRecord(entry), encodeTpRecord(testenc::tpFieldsFromEntry(entry, 1)));
}

TEST(TpRecordWrite, KeepsLowBitsOfDirectionAndMark) {
    FIO_TPEntry entry;
    entry.runwayDirection = 70000;  // 4464 in 16 bits, then read as tenths
    entry.markFlag = 0x100;
    const FIO_TPEntry back = readRecord(writeRecord(entry));
    EXPECT_EQ(back.runwayDirection, 446);
    EXPECT_EQ(back.markFlag, 0);
}

TEST(TpRecordWrite, ParsesLeadingDecimalOfFrequency) {
    const std::string huge = "1" + std::string(400, '0');
    const std::string tiny = "0." + std::string(400, '0') + "1";
    const std::pair<std::string, double> cases[] = {
        {"122.500", 122.5},
        {" 123.9", 123.9},
        {"\t\n118.0MHz", 118.0},
        {"-5.25", -5.25},
        {"+7", 7.0},
        {"122.", 122.0},
        {"12 3", 12.0},
        {"1e3", 1.0},
        {"", 0.0},
        {"abc", 0.0},
        {".5", 0.0},
        {"- 5", 0.0},
        {"+-1", 0.0},
        {"0x10", 0.0},
        {std::string("12\0.5", 5), 12.0},
        {huge, HUGE_VAL},
        {"-" + huge, -HUGE_VAL},
        {tiny, 0.0},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(velkano::parseFrequency(text), value) << text;
    }
}

TEST(TpRecordWrite, KeepsTheWholeFrequency) {
    const std::pair<const char*, const char*> cases[] = {
        {"122.500", "122.500"}, {" 123.9", "123.900"}, {"118.975", "118.975"},
        {"", "0.000"},          {"n/a", "0.000"},      {"-5.25", "-5.250"},
    };
    for (const auto& [text, readBack] : cases) {
        FIO_TPEntry entry;
        entry.frequency = text;
        EXPECT_EQ(readRecord(writeRecord(entry)).frequency, readBack) << text;
    }
    FIO_TPEntry entry;
    entry.frequency = std::string(45, '9');
    const Bytes bytes = writeRecord(entry);
    EXPECT_EQ(Bytes(bytes.begin() + kFrequencyOffset, bytes.begin() + kFrequencyOffset + 6),
              (Bytes{0xFF, 0, 0, 0xFF, 0xFF, 0x7F}));
}

TEST(TpRecordWrite, NumbersRecordsAndStopsAtTheAnnouncedCount) {
    velkano::RouteState state;
    state.turnpoints.total = 3;
    MemFile file;
    FIO_TPEntry entry;
    entry.number = 99;  // not written
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(velkano::writeNextTurnpoint(state, file, entry));
    const int writes = file.writes;
    EXPECT_FALSE(velkano::writeNextTurnpoint(state, file, entry));
    EXPECT_EQ(file.writes, writes);
    EXPECT_EQ(state.turnpoints.done, 3);
    EXPECT_EQ(state.maxTpNumber, 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(file.bytes()[297 * i + 4], i + 1);

    velkano::RouteState ahead;
    ahead.turnpoints.total = 1;
    ahead.maxTpNumber = 10;
    ASSERT_TRUE(velkano::writeNextTurnpoint(ahead, file, entry));
    EXPECT_EQ(ahead.maxTpNumber, 10);
}

}  // namespace
