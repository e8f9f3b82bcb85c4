// FIO_Flight2IGC as a host calls it: one flight per call, through the loaded driver.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "host/driver_library.h"
#include "flight_conversion.h"
#include "flight_file_encoder.h"
#include "host_test_support.h"
#include "igc_capture.h"
#include "mem_file.h"
#include "velkano/fio_error.h"

namespace {

using testenc::FlightFields;
using testenc::FlightFileFields;

FlightFields flightOn(int day) {
    FlightFields flight;
    flight.day = day;
    flight.month = 7;
    flight.year = 2004;
    flight.fixes.resize(2);
    return flight;
}

std::vector<uint8_t> fileOf(std::vector<FlightFields> flights, int version = 6) {
    FlightFileFields desc;
    desc.version = version;
    desc.flights = std::move(flights);
    return testenc::encodeFlightFile(desc);
}

class Flight2IgcTest : public testing::Test {
protected:
    void SetUp() override { driver.ExitDriver(); }
    void TearDown() override { driver.ExitDriver(); }
    DriverLibrary driver{testing_support::driverPath("Velkano17Flt.drf")};
};

// Without FIO_InitDriver: the first call creates the state and later calls continue from it.
TEST_F(Flight2IgcTest, ConvertsOneFlightPerCallThenNothing) {
    MemFile file(fileOf({flightOn(5), flightOn(6)}));
    IgcCapture out;
    EXPECT_EQ(driver.Flight2IGC(&file, &out.file()), 1);
    EXPECT_EQ(out.lines().size(), 12u);
    EXPECT_EQ(out.lines()[1], "HFDTE050704");
    EXPECT_EQ(driver.Flight2IGC(&file, &out.file()), 1);
    EXPECT_EQ(out.lines()[13], "HFDTE060704");
    const std::string both = out.text();
    EXPECT_EQ(driver.Flight2IGC(&file, &out.file()), 0);
    EXPECT_EQ(driver.Flight2IGC(&file, &out.file()), 0);
    EXPECT_EQ(out.text(), both);
}

TEST_F(Flight2IgcTest, NothingToConvert) {
    MemFile empty(fileOf({}));
    IgcCapture out;
    EXPECT_EQ(driver.Flight2IGC(&empty, &out.file()), 0);
    // Not at the start with fresh counters: no header is read and no flight is left.
    MemFile oneFlight(fileOf({flightOn(5)}));
    driver.ExitDriver();
    oneFlight.Seek(56, CFile::begin);
    EXPECT_EQ(driver.Flight2IGC(&oneFlight, &out.file()), 0);
    EXPECT_EQ(driver.Flight2IGC(nullptr, &out.file()), -1);
    EXPECT_EQ(driver.Flight2IGC(&empty, nullptr), -1);
    EXPECT_EQ(out.text(), "");
}

// No state: -1 and nothing read or printed.
TEST(ConvertNextFlightTest, RefusesWithoutState) {
    MemFile file(fileOf({flightOn(5)}));
    IgcCapture out;
    EXPECT_EQ(velkano::convertNextFlight(nullptr, &file, &out.file()), -1);
    EXPECT_EQ(file.reads, 0);
    EXPECT_EQ(out.text(), "");
}

// A malformed flight is not counted: after it the host may hand over the next good record.
TEST_F(Flight2IgcTest, MalformedFlightIsNotCounted) {
    FlightFields bad = flightOn(5);
    bad.fixes[1].tag = 'x';
    const auto badRecord = testenc::encodeFlightRecord(bad, 6);
    auto bytes = fileOf({bad}, 6);
    const auto good = testenc::encodeFlightRecord(flightOn(9), 6);
    bytes.insert(bytes.end(), good.begin(), good.end());
    MemFile file(bytes);
    IgcCapture out;
    EXPECT_THROW(driver.Flight2IGC(&file, &out.file()), FIO_Error);
    EXPECT_EQ(out.text(), "");
    file.Seek(static_cast<int64_t>(56 + badRecord.size()), CFile::begin);
    EXPECT_EQ(driver.Flight2IGC(&file, &out.file()), 1);
    EXPECT_EQ(out.lines()[1], "HFDTE090704");
    EXPECT_EQ(driver.Flight2IGC(&file, &out.file()), 0);
}

// A failed print raises the file exception and the flight is not counted, so the next call
// still expects a record where the file ends.
TEST_F(Flight2IgcTest, FailedPrintIsNotCounted) {
    testing_support::ScratchDir dir;
    const std::string path = dir.file("out.igc");
    testing_support::writeFileBytes(path, {});
    std::FILE* readOnly = std::fopen(path.c_str(), "rb");
    ASSERT_NE(readOnly, nullptr);
    CStdioFile failing(readOnly, path, true);
    MemFile file(fileOf({flightOn(5)}));
    try {
        driver.Flight2IGC(&file, &failing);
        ADD_FAILURE() << "no file exception";
    } catch (const CFileException& error) {
        EXPECT_EQ(error.m_cause, CFileException::genericException);
        EXPECT_EQ(error.m_strFileName, path);
    }
    IgcCapture out;
    EXPECT_THROW(driver.Flight2IGC(&file, &out.file()), FIO_Error);
}

}  // namespace
