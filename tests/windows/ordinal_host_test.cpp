// The drivers as the Windows host program uses them: loaded with LoadLibrary, every entry
// found by its ordinal, and the drivers' exceptions caught by type on the host's side of the
// module boundary.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "driver_checks.h"
#include "host_test_support.h"
#include "route_file_encoder.h"
#include "velkano/fio_exports.h"

namespace {

using namespace testing_support;

// A driver loaded by path whose entries are found by ordinal only, as the host finds them.
class OrdinalDriver {
public:
    explicit OrdinalDriver(const std::string& file)
        : module_(LoadLibraryA(driverPath(file).c_str())) {
        if (module_ == nullptr) throw std::runtime_error("cannot load " + file);
    }
    ~OrdinalDriver() { unload(); }
    OrdinalDriver(const OrdinalDriver&) = delete;
    OrdinalDriver& operator=(const OrdinalDriver&) = delete;

    void unload() {
        if (module_ != nullptr) FreeLibrary(module_);
        module_ = nullptr;
    }
    void* byOrdinal(int ordinal) const {
        return reinterpret_cast<void*>(GetProcAddress(module_, MAKEINTRESOURCEA(ordinal)));
    }
    void* byName(const char* name) const {
        return reinterpret_cast<void*>(GetProcAddress(module_, name));
    }
    template <typename Fn>
    Fn entry(int ordinal) const {
        void* address = byOrdinal(ordinal);
        if (address == nullptr)
            throw std::runtime_error("no entry at ordinal " + std::to_string(ordinal));
        return reinterpret_cast<Fn>(address);
    }

private:
    HMODULE module_;
};

struct OrdinalEntry {
    int ordinal;
    const char* name;
};

constexpr OrdinalEntry kTable[] = {
    {1, "FIO_DriverInfo"},        {2, "FIO_IsFileOfMyType"},   {3, "FIO_GetExtensions"},
    {4, "FIO_TranslateFilename"}, {5, "FIO_ReadObject"},       {8, "FIO_InitDriver"},
    {9, "FIO_ExitDriver"},        {10, "FIO_WriteTP"},         {11, "FIO_WriteHeader"},
    {12, "FIO_ReadFDEntry"},      {17, "FIO_Flight2IGC"},      {18, "FIO_IGC2Flight"},
    {19, "FIO_WriteDeclaration"}, {20, "FIO_ReadDeclaration"}, {21, "FIO_WriteRoute"},
};

struct Library {
    const char* file;
    const char* name;  // the driver information record's name field
    const char* extension;
    int32_t fileType;
};

constexpr Library kLibraries[] = {
    {"Velkano17Rte.drf", "Velkano 1.7 (Strecken)", "rtx", 1},
    {"Velkano17Flt.drf", "Velkano 1.7 (Flights)", "flt", 0x40000},
};

TEST(OrdinalTableTest, EveryOrdinalFindsTheEntryOfItsNameAndTheGapsFindNothing) {
    for (const Library& library : kLibraries) {
        OrdinalDriver driver(library.file);
        for (const OrdinalEntry& e : kTable) {
            EXPECT_NE(driver.byOrdinal(e.ordinal), nullptr) << library.file << " @" << e.ordinal;
            EXPECT_EQ(driver.byOrdinal(e.ordinal), driver.byName(e.name))
                << library.file << " " << e.name;
        }
        for (int empty : {6, 7, 13, 14, 15, 16, 22}) {
            EXPECT_EQ(driver.byOrdinal(empty), nullptr) << library.file << " @" << empty;
        }
    }
}

// Calls through ordinal-found pointers with the C calling convention; on x86 a mismatch
// would corrupt the stack rather than just return a wrong value.
TEST(OrdinalTableTest, EntriesCalledByOrdinalAnswerForTheirLibrary) {
    for (const Library& library : kLibraries) {
        OrdinalDriver driver(library.file);
        unsigned char record[kDriverInfoSize];
        EXPECT_EQ(driver.entry<FIO_DriverInfoFn>(kOrdDriverInfo)(record), 1);
        EXPECT_STREQ(reinterpret_cast<const char*>(record + 20), library.name);
        char extension[8];
        EXPECT_EQ(
            driver.entry<FIO_GetExtensionsFn>(kOrdGetExtensions)(library.fileType, extension, 8),
            1);
        EXPECT_STREQ(extension, library.extension);
        EXPECT_EQ(driver.entry<FIO_UnsupportedFn>(kOrdReadDeclaration)(nullptr, nullptr, nullptr,
                                                                       nullptr),
                  -1);
        FIOVelkano17* state = driver.entry<FIO_InitDriverFn>(kOrdInitDriver)();
        EXPECT_NE(state, nullptr);
        driver.entry<FIO_ExitDriverFn>(kOrdExitDriver)();
    }
}

class ExceptionAcrossModulesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(initDriver(), nullptr); }
    void TearDown() override { exitDriver(); }

    std::string path(const char* name) const { return dir.file(name); }

    ScratchDir dir;
    OrdinalDriver route{"Velkano17Rte.drf"};
    FIO_InitDriverFn initDriver = route.entry<FIO_InitDriverFn>(kOrdInitDriver);
    FIO_ExitDriverFn exitDriver = route.entry<FIO_ExitDriverFn>(kOrdExitDriver);
    FIO_ReadObjectFn readObject = route.entry<FIO_ReadObjectFn>(kOrdReadObject);
    FIO_WriteHeaderFn writeHeader = route.entry<FIO_WriteHeaderFn>(kOrdWriteHeader);
    FIO_WriteRouteFn writeRoute = route.entry<FIO_WriteRouteFn>(kOrdWriteRoute);
};

TEST_F(ExceptionAcrossModulesTest, MalformedRouteRecordRaisesFIO_Error) {
    testenc::TpRecordFields tp;
    tp.name = "Alpha";
    testenc::RouteRecordFields broken;
    broken.tag = 'k';
    writeFileBytes(path("tasks.top"), testenc::encodeTpFile({tp}));
    writeFileBytes(path("tasks.rtx"), testenc::encodeTaskFile({broken}));
    CStdioFile task(path("tasks.rtx"), kHostRead);
    FIO_TPEntry entry;
    FIO_Route host;
    ASSERT_EQ(readObject(&task, &entry, &host), 1);
    expectFioError([&] { readObject(&task, &entry, &host); }, FIO_Error::kBadObject);
}

TEST_F(ExceptionAcrossModulesTest, MissingCompanionRaisesTheFileExceptionNamingIt) {
    writeFileBytes(path("tasks.rtx"), testenc::encodeTaskFile({}));
    CStdioFile task(path("tasks.rtx"), kHostRead);
    FIO_TPEntry entry;
    FIO_Route host;
    try {
        readObject(&task, &entry, &host);
        ADD_FAILURE() << "no exception";
    } catch (const CFileException& error) {
        EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
        EXPECT_EQ(error.m_strFileName, path("tasks.top"));
    }
}

TEST_F(ExceptionAcrossModulesTest, RouteWithoutPointsRaisesOutOfRange) {
    CStdioFile task(path("tasks.rtx"), kHostWrite);
    FIO_Header header;
    header.kind = FIO_Header::kBegin;
    header.routeCount = 1;
    ASSERT_EQ(writeHeader(&task, &header), 1);
    FIO_Route empty;
    try {
        writeRoute(&task, &empty);
        ADD_FAILURE() << "no exception";
    } catch (const std::out_of_range& error) {
        EXPECT_STREQ(error.what(), "invalid vector<T> subscript");
    }
}

// Unloading runs FIO_ExitDriver from DllMain: the companion being written is flushed and
// closed even though the host never called it.
TEST(UnloadTest, UnloadWithoutExitFlushesAndClosesTheCompanionBeingWritten) {
    ScratchDir dir;
    const std::string top = dir.file("tasks.top");
    OrdinalDriver driver("Velkano17Rte.drf");
    ASSERT_NE(driver.entry<FIO_InitDriverFn>(kOrdInitDriver)(), nullptr);
    {
        CStdioFile task(dir.file("tasks.rtx"), kHostWrite);
        FIO_Header header;
        header.kind = FIO_Header::kBegin;
        header.turnpointCount = 1;
        ASSERT_EQ(driver.entry<FIO_WriteHeaderFn>(kOrdWriteHeader)(&task, &header), 1);
        FIO_TPEntry entry;
        entry.name = "Alpha";
        ASSERT_EQ(driver.entry<FIO_WriteTPFn>(kOrdWriteTP)(nullptr, &entry), 1);
    }
    std::error_code error;
    ASSERT_FALSE(std::filesystem::remove(top, error))
        << "an open file could be removed; the test proves nothing";

    driver.unload();
    const auto bytes = readFileBytes(top);
    ASSERT_GT(bytes.size(), testenc::kFileHeaderSize);
    const std::string magic = velkano::kTpFileMagic;
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + magic.size()), magic);
    EXPECT_TRUE(std::filesystem::remove(top, error)) << error.message();
}

}  // namespace
