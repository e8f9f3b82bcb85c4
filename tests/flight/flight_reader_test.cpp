// Reading the flight file: header, record layouts of every version, fixes, texts, tags.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "driver_checks.h"
#include "flight_conversion.h"
#include "flight_file_encoder.h"
#include "flight_reader.h"
#include "igc_capture.h"
#include "mem_file.h"
#include "velkano/fio_error.h"

namespace {

using testenc::FixFields;
using testenc::FlightFields;
using testenc::FlightFileFields;
using testenc::TaskEntryFields;
using testing_support::expectFioError;

TaskEntryFields taskPoint(const std::string& name, double latitude, double longitude) {
    TaskEntryFields entry;
    entry.record.name = name;
    entry.record.latitude = latitude;
    entry.record.longitude = longitude;
    return entry;
}

TEST(FlightHeaderTest, ReadsVersionAndCountBehindTheMagic) {
    FlightFileFields desc;
    desc.version = 6;
    desc.flightCount = 3;
    MemFile file(testenc::encodeFlightFile(desc));
    velkano::FlightState state;
    state.flights.done = 5;
    velkano::startFlightFile(state, file);
    EXPECT_EQ(state.version, 6);
    EXPECT_EQ(state.flights.total, 3);
    EXPECT_EQ(state.flights.done, 0);
    EXPECT_EQ(file.GetPosition(), 56u);
}

TEST(FlightHeaderTest, FileWithoutMagicIsReadFromOffsetZero) {
    FlightFileFields desc;
    desc.header = false;
    desc.version = 7;  // the reader finds it at offset 52, inside the first record
    FlightFields flight;
    flight.fixes.resize(3);
    flight.gliderType = "Club 15";
    flight.gliderId = "D-1234";
    desc.flights = {flight};
    const auto bytes = testenc::encodeFlightFile(desc);
    MemFile file(bytes);
    velkano::FlightState state;
    velkano::startFlightFile(state, file);
    EXPECT_EQ(state.version, 7);
    EXPECT_EQ(state.flights.total, 1);
    EXPECT_EQ(file.GetPosition(), 2u);
    FIO_Flight read;
    velkano::readFlight(file, state.version, read);
    EXPECT_EQ(file.GetPosition(), bytes.size());
    EXPECT_EQ(read.gliderId, "D-1234");
}

TEST(FlightHeaderTest, CountLimits) {
    struct Case {
        int count;
        std::string magic;
        bool accepted;
    };
    const Case cases[] = {
        {0, "Velkano Flight File", true},
        {velkano::kMaxRecordCount, "Velkano Flight File", true},
        {velkano::kMaxRecordCount + 1, "Velkano Flight File", false},
        {-1, "Velkano Flight File", false},
        {-32768, "Velkano Flight File", false},
        // Not the magic: the count is then the int16 "Ve" at offset 0.
        {1, "Velkano Flight File ", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        FlightFileFields desc;
        desc.magic = c.magic;
        desc.version = 4;
        desc.flightCount = c.count;
        MemFile file(testenc::encodeFlightFile(desc));
        velkano::FlightState state;
        state.flights.total = 9;
        state.flights.done = 4;
        if (c.accepted) {
            velkano::startFlightFile(state, file);
            EXPECT_EQ(state.flights.total, c.count);
            EXPECT_EQ(state.flights.done, 0);
        } else {
            expectFioError([&] { velkano::startFlightFile(state, file); }, FIO_Error::kBadFile);
            EXPECT_EQ(state.version, 4);
            EXPECT_EQ(state.flights.total, 9);
            EXPECT_EQ(state.flights.done, 4);
        }
    }
}

// Each version's record is consumed to its last byte, whatever the skipped fields hold, so
// the next record reads in step.
TEST(FlightRecordTest, EveryVersionLayoutIsConsumedExactly) {
    for (const int version : {-1, 0, 2, 3, 4, 5, 6, 7, 9}) {
        for (const int extension : {0, 1, 2}) {
            SCOPED_TRACE(testing::Message() << "version " << version << " ext " << extension);
            const int taskSize = testenc::flightTaskSize(version);
            FlightFields first;
            first.junkInSkipped = true;
            first.fixes.resize(2);
            first.extensionMarker = extension > 0 ? testenc::kExtensionMarker : 0;
            first.extensionCount = extension;
            first.gliderType = "Type";
            first.gliderId = "D-7";
            first.task.resize(static_cast<size_t>(taskSize));
            first.task.back() = taskPoint("LAST", 47.5, 8.25);
            FlightFields second;
            second.day = 17;
            const auto firstBytes = testenc::encodeFlightRecord(first, version);
            ASSERT_EQ(firstBytes.size(), testenc::flightRecordSize(first, version));
            auto bytes = firstBytes;
            const auto secondBytes = testenc::encodeFlightRecord(second, version);
            bytes.insert(bytes.end(), secondBytes.begin(), secondBytes.end());

            MemFile file(bytes);
            velkano::FlightState state;
            state.version = version;
            FIO_Flight a, b;
            velkano::readFlight(file, state.version, a);
            EXPECT_EQ(file.GetPosition(), firstBytes.size());
            velkano::readFlight(file, state.version, b);
            EXPECT_EQ(file.GetPosition(), bytes.size());
            EXPECT_EQ(b.day, 17);

            EXPECT_EQ(a.taskSize, version >= 6 ? 20 : 10);
            EXPECT_EQ(a.task[static_cast<size_t>(taskSize - 1)].name, "LAST");
            EXPECT_EQ(a.task[static_cast<size_t>(taskSize - 1)].latitude, 47.5f);
            EXPECT_EQ(a.task[19].number, taskSize == 20 ? 1 : -1);  // defaults stay beyond
            EXPECT_EQ(a.gliderType, "Type");
            EXPECT_EQ(a.gliderId, version >= 7 ? "D-7" : "");
        }
    }
}

TEST(FlightRecordTest, FixFieldsInFileOrder) {
    FlightFields desc;
    desc.fixes = {{47.5, 8.25, 47109, -5, 1250, 0x80, 7, {1, -2, 3}, 't'},
                  {-33.25, -70.5, 90061, 32767, -32768, 0, -1, {0, 0, -32768}, 't'}};
    MemFile file(testenc::encodeFlightRecord(desc, 5));
    velkano::FlightState state;
    state.version = 5;
    FIO_Flight flight;
    velkano::readFlight(file, state.version, flight);
    const auto fields = [](const FIO_FixEntry& f) {
        return std::vector<double>{f.latitude,
                                   f.longitude,
                                   double(f.seconds),
                                   double(f.pressureAltitude),
                                   double(f.gnssAltitude),
                                   double(f.valid),
                                   double(f.enl),
                                   double(f.extra[0]),
                                   double(f.extra[1]),
                                   double(f.extra[2])};
    };
    ASSERT_EQ(flight.fixes.size(), 2u);
    EXPECT_EQ(fields(flight.fixes[0]),
              (std::vector<double>{47.5, 8.25, 47109, -5, 1250, -128, 7, 1, -2, 3}));
    EXPECT_EQ(fields(flight.fixes[1]),
              (std::vector<double>{-33.25, -70.5, 90061, 32767, -32768, 0, -1, 0, 0, -32768}));
}

TEST(FixListTest, AnnouncedCounts) {
    for (const int count : {0, -3, 1000}) {
        SCOPED_TRACE(count);
        FlightFields desc;
        desc.fixes.resize(static_cast<size_t>(std::max(count, 0)));
        desc.fixCount = count;
        const auto bytes = testenc::encodeFlightRecord(desc, 5);
        MemFile file(bytes);
        file.Seek(2, CFile::begin);  // past the 'v'
        std::vector<FIO_FixEntry> fixes;
        velkano::readFixList(file, fixes);
        EXPECT_EQ(fixes.size(), static_cast<size_t>(std::max(count, 0)));
        // Sized once, before the first fix: growth by doubling would leave room for 1024.
        if (count > 0) {
            EXPECT_EQ(fixes.capacity(), static_cast<size_t>(count));
        }
        EXPECT_EQ(file.GetPosition(), 2 + 8 + 31 * fixes.size() + 33);
    }
    // A count the file does not back stops at the first missing tag.
    FlightFields hostile;
    hostile.fixCount = 32767;
    MemFile file(testenc::encodeFlightRecord(hostile, 5));
    file.Seek(2, CFile::begin);
    std::vector<FIO_FixEntry> fixes;
    expectFioError([&] { velkano::readFixList(file, fixes); }, FIO_Error::kBadObject);
}

TEST(TextBlockTest, DefaultsAndTrimming) {
    struct Case {
        std::string maker, serial, pilot;
        std::string wantMaker, wantSerial, wantPilot;
    };
    const std::string full41(41, 'P');
    const Case cases[] = {
        {"AB", "", "Ann", "XXX", "001", "Ann"},
        {"AB ", "   ", " Ann  ", "XXX", "001", " Ann"},
        {"A\t\n", "1\r", "Ann\r\n\v\f\t ", "XXX", "1", "Ann"},
        {"ABC", "12345", "A  nn", "ABC", "12345", "A  nn"},
        {"ABCD", "123456", full41, "ABCD", "123456", full41},  // full fields, no zero byte
        {"", "", std::string(40, ' ') + "x", "XXX", "001", std::string(40, ' ') + "x"},
    };
    for (const Case& c : cases) {
        FlightFields desc;
        desc.recorderMaker = c.maker;
        desc.recorderSerial = c.serial;
        desc.pilot = c.pilot;
        desc.competitionClass = "Club   ";
        MemFile file(testenc::encodeFlightRecord(desc, 7));
        velkano::FlightState state;
        state.version = 7;
        FIO_Flight flight;
        velkano::readFlight(file, state.version, flight);
        EXPECT_EQ(flight.recorderMaker, c.wantMaker);
        EXPECT_EQ(flight.recorderSerial, c.wantSerial);
        EXPECT_EQ(flight.pilot, c.wantPilot);
        EXPECT_EQ(flight.competitionClass, "Club");
    }
}

// A wrong tag anywhere in a record: FIO_Error "bad object", nothing of the flight printed and
// the flight not counted.
TEST(BadTagTest, AnyWrongTagPrintsNothingAndCountsNothing) {
    using Breaker = std::function<void(FlightFields&)>;
    const std::pair<const char*, Breaker> places[] = {
        {"flight", [](FlightFields& f) { f.tag = 'w'; }},
        {"fix list", [](FlightFields& f) { f.fixListTag = 't'; }},
        {"first fix", [](FlightFields& f) { f.fixes[0].tag = 'u'; }},
        {"last fix", [](FlightFields& f) { f.fixes[2].tag = 0; }},
        {"trailer pair 1", [](FlightFields& f) { f.trailerPairTag1 = 's'; }},
        {"trailer pair 2", [](FlightFields& f) { f.trailerPairTag2 = 'R'; }},
        {"first task record", [](FlightFields& f) { f.task[0].record.tag = 'm'; }},
        {"last task record", [](FlightFields& f) { f.task[9].record.tag = 'v'; }},
        {"task position pair", [](FlightFields& f) { f.task[2].record.positionTag = 'n'; }},
        {"task detail block", [](FlightFields& f) { f.task[3].record.detailTag = 'n'; }},
        {"task runway block", [](FlightFields& f) { f.task[4].record.runwayBlockTag = 's'; }},
        {"task runway entry",
         [](FlightFields& f) {
             f.task[5].record.runways = {{800.0, 250, 'G', '2'}};
         }},
    };
    for (const auto& [place, breakIt] : places) {
        SCOPED_TRACE(place);
        FlightFileFields desc;
        desc.version = 5;
        FlightFields flight;
        flight.fixes.resize(3);
        flight.task.resize(10);
        flight.task[0] = taskPoint("START", 47.5, 8.25);
        breakIt(flight);
        desc.flights = {flight};
        MemFile file(testenc::encodeFlightFile(desc));
        velkano::FlightState state;
        IgcCapture out;
        expectFioError([&] { velkano::convertFlight(state, file, out.file()); },
                       FIO_Error::kBadObject);
        EXPECT_EQ(out.text(), "");
        EXPECT_EQ(state.flights.done, 0);
        EXPECT_EQ(state.flights.total, 1);
    }
}

}  // namespace

namespace {

// Every cut of a flight file fails: "bad file" in the header, "bad object" in a flight,
// which prints nothing; the flights before the cut convert as in the whole file. The host
// file leaves what it cannot fill unfilled, as some hosts' files do.
TEST(CutFileTest, EveryCutOfAFlightFileFailsAfterTheFlightsBeforeIt) {
    FlightFileFields desc;
    desc.version = 5;
    FlightFields flight;
    flight.fixes.resize(2);
    flight.pilot = "Ann";
    flight.task.resize(1);
    flight.task[0] = taskPoint("START", 47.5, 8.25);
    desc.flights = {flight, flight};
    desc.flights[1].day = 2;
    const auto bytes = testenc::encodeFlightFile(desc);
    const size_t header = 56;
    const size_t firstEnd = header + testenc::flightRecordSize(flight, desc.version);
    ASSERT_EQ(bytes.size(), header + 2 * (firstEnd - header));

    std::string firstIgc;
    for (size_t length = 0; length <= bytes.size(); ++length) {
        MemFile file = MemFile::leavingShortReadsUnfilled(
            std::vector<uint8_t>(bytes.begin(), bytes.begin() + length));
        velkano::FlightState state;
        std::vector<std::string> printed;
        std::string error;
        try {
            for (;;) {
                IgcCapture out;
                if (!velkano::convertFlight(state, file, out.file())) break;
                printed.push_back(out.text());
            }
        } catch (const FIO_Error& e) {
            error = e.message;
        }
        const std::string expected = length < header         ? FIO_Error::kBadFile
                                     : length < bytes.size() ? FIO_Error::kBadObject
                                                             : "";
        EXPECT_EQ(error, expected) << length;
        ASSERT_EQ(printed.size(), length < firstEnd       ? 0u
                                  : length < bytes.size() ? 1u
                                                          : 2u)
            << length;
        if (printed.empty()) continue;
        if (firstIgc.empty()) firstIgc = printed[0];
        EXPECT_EQ(printed[0], firstIgc) << length;
    }
    EXPECT_NE(firstIgc.find("Ann"), std::string::npos);
}

}  // namespace
