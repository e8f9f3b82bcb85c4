// The information and file-type exports, called through the loaded libraries as a host does.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "host/driver_library.h"
#include "host_test_support.h"

namespace {

using testing_support::driverPath;

struct InfoCase {
    const char* library;
    const char* name;
    uint8_t writes;
    std::vector<std::pair<int, int32_t>> words;  // offset -> value; every other word zero
};

std::array<uint8_t, kDriverInfoSize> expectedRecord(const InfoCase& c) {
    std::array<uint8_t, kDriverInfoSize> r{};
    auto put = [&](int offset, const std::string& text) {
        std::memcpy(r.data() + offset, text.data(), text.size());
    };
    put(0, "Version 1.0");
    put(20, c.name);
    put(50, "Tessavorn GmbH");
    r[84] = 1;
    r[85] = c.writes;
    for (auto [offset, value] : c.words) {
        for (int i = 0; i < 4; ++i)
            r[offset + i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
    }
    return r;
}

const InfoCase kInfoCases[] = {
    {"Velkano17Rte.drf",
     "Velkano 1.7 (Strecken)",
     1,
     {{88, 0x249}, {92, 0x4000}, {96, 0x4000}, {100, 40}, {120, 0x4000}, {132, 29}, {136, 201}}},
    {"Velkano17Flt.drf", "Velkano 1.7 (Flights)", 0, {{88, 0x40000}, {104, 0x4000}}},
};

class DriverInfoTest : public testing::TestWithParam<InfoCase> {};

TEST_P(DriverInfoTest, FillsEveryByteOfTheRecord) {
    DriverLibrary driver(driverPath(GetParam().library));
    // Garbage first, so bytes the driver fails to clear show up.
    std::array<uint8_t, kDriverInfoSize + 16> record;
    record.fill(0xA5);
    ASSERT_EQ(driver.DriverInfo(record.data()), 1);
    const auto expected = expectedRecord(GetParam());
    for (int i = 0; i < kDriverInfoSize; ++i) {
        EXPECT_EQ(record[i], expected[i]) << "byte " << i;
    }
    for (size_t i = kDriverInfoSize; i < record.size(); ++i) {
        EXPECT_EQ(record[i], 0xA5) << "written past the record at " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(BothDrivers, DriverInfoTest, testing::ValuesIn(kInfoCases),
                         [](const auto& info) {
                             return std::string(info.param.writes ? "Route" : "Flight");
                         });

// A buffer with guard bytes on both sides, to catch writes outside the size given.
class GuardedBuffer {
public:
    explicit GuardedBuffer(size_t size) : bytes_(size + 2 * kGuard, 0x5A), size_(size) {}
    char* data() { return reinterpret_cast<char*>(bytes_.data() + kGuard); }
    std::string text() { return std::string(data(), strnlen(data(), size_)); }
    bool guardsIntact() const {
        for (size_t i = 0; i < kGuard; ++i) {
            if (bytes_[i] != 0x5A || bytes_[kGuard + size_ + i] != 0x5A) return false;
        }
        return true;
    }
    bool allZero() const {
        for (size_t i = 0; i < size_; ++i) {
            if (bytes_[kGuard + i] != 0) return false;
        }
        return true;
    }

private:
    static constexpr size_t kGuard = 16;
    std::vector<uint8_t> bytes_;
    size_t size_;
};

struct ExtensionCase {
    const char* library;
    int32_t type;
    uint32_t size;
    int32_t result;
    const char* text;
};

class GetExtensionsTest : public testing::TestWithParam<ExtensionCase> {};

TEST_P(GetExtensionsTest, AnswersForItsOwnCodesOnly) {
    const auto& c = GetParam();
    DriverLibrary driver(driverPath(c.library));
    GuardedBuffer buffer(c.size);
    std::memset(buffer.data(), 'x', c.size);
    EXPECT_EQ(driver.GetExtensions(c.type, buffer.data(), c.size), c.result);
    EXPECT_TRUE(buffer.guardsIntact());
    if (c.result == -1 || c.size == 0) {
        EXPECT_TRUE(buffer.allZero());
    } else {
        EXPECT_EQ(buffer.text(), c.text);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, GetExtensionsTest,
                         testing::Values(ExtensionCase{"Velkano17Rte.drf", 1, 16, 1, "rtx"},
                                         ExtensionCase{"Velkano17Rte.drf", 8, 16, 1, "rtx"},
                                         ExtensionCase{"Velkano17Rte.drf", 64, 16, 1, "rtx"},
                                         ExtensionCase{"Velkano17Rte.drf", 512, 4, 1, "rtx"},
                                         ExtensionCase{"Velkano17Rte.drf", 512, 3, 1, "rt"},
                                         ExtensionCase{"Velkano17Rte.drf", 1, 0, 1, ""},
                                         ExtensionCase{"Velkano17Rte.drf", 2, 16, -1, ""},
                                         ExtensionCase{"Velkano17Rte.drf", 0x249, 16, -1, ""},
                                         ExtensionCase{"Velkano17Rte.drf", 0x40000, 16, -1, ""},
                                         ExtensionCase{"Velkano17Flt.drf", 0x40000, 16, 1, "flt"},
                                         ExtensionCase{"Velkano17Flt.drf", 0x40000, 2, 1, "f"},
                                         ExtensionCase{"Velkano17Flt.drf", 1, 16, -1, ""},
                                         ExtensionCase{"Velkano17Flt.drf", -1, 16, -1, ""}));

struct TranslateCase {
    const char* source;
    uint32_t size;
    const char* expected;
};

class TranslateFilenameTest : public testing::TestWithParam<TranslateCase> {};

TEST_P(TranslateFilenameTest, CopiesWithinTheBuffer) {
    const auto& c = GetParam();
    for (const char* library : {"Velkano17Rte.drf", "Velkano17Flt.drf"}) {
        DriverLibrary driver(driverPath(library));
        GuardedBuffer buffer(c.size);
        EXPECT_EQ(driver.TranslateFilename(c.source, buffer.data(), c.size), 1);
        EXPECT_TRUE(buffer.guardsIntact()) << library;
        if (c.size > 0) {
            EXPECT_EQ(buffer.text(), c.expected) << library;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TranslateFilenameTest,
    testing::Values(TranslateCase{"C:\\data\\tasks.rtx", 64, "C:\\data\\tasks.rtx"},
                    TranslateCase{"/home/pilot/flights.flt", 8, "/home/p"},
                    TranslateCase{"abc", 4, "abc"}, TranslateCase{"abcd", 4, "abc"},
                    TranslateCase{"abc", 1, ""}, TranslateCase{"abc", 0, ""}));

TEST(IsFileOfMyTypeTest, AcceptsAnything) {
    for (const char* library : {"Velkano17Rte.drf", "Velkano17Flt.drf"}) {
        DriverLibrary driver(driverPath(library));
        EXPECT_EQ(driver.IsFileOfMyType(nullptr), 1);
        EXPECT_EQ(driver.IsFileOfMyType("whatever.txt"), 1);
    }
}

}  // namespace
