// velkano info: load both drivers and print what each says about itself.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "commands.h"
#include "driver_library.h"

namespace {

constexpr const char* kDrivers[] = {"Velkano17Rte.drf", "Velkano17Flt.drf"};

std::string textField(const unsigned char* record, int offset, int width) {
    std::string text;
    for (int i = 0; i < width && record[offset + i] != 0; ++i) {
        text += static_cast<char>(record[offset + i]);
    }
    return text;
}

int32_t wordAt(const unsigned char* record, int offset) {
    uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u |= static_cast<uint32_t>(record[offset + i]) << (8 * i);
    return static_cast<int32_t>(u);
}

void printDriver(DriverLibrary& driver) {
    unsigned char record[kDriverInfoSize];
    driver.DriverInfo(record);
    const int32_t types = wordAt(record, 88);
    std::printf("%s\n", driver.path().c_str());
    std::printf("  name:       %s\n", textField(record, 20, 30).c_str());
    std::printf("  version:    %s\n", textField(record, 0, 20).c_str());
    std::printf("  maker:      %s\n", textField(record, 50, 34).c_str());
    std::printf("  flags:      %u %u (%s)\n", record[84], record[85],
                record[85] ? "reads and writes" : "reads only");
    std::printf("  file types: 0x%X\n", static_cast<unsigned>(types));
    for (int bit = 0; bit < 32; ++bit) {
        const int32_t code = static_cast<int32_t>(1u << bit);
        if ((types & code) == 0) continue;
        char extension[16];
        const int32_t result = driver.GetExtensions(code, extension, sizeof extension);
        std::printf("    %-8d %s\n", code, result == 1 ? extension : "(no extension)");
    }
    std::printf("  limits:    ");
    for (int offset = 92; offset <= 136; offset += 4) std::printf(" %d", wordAt(record, offset));
    std::printf("\n");
}

}  // namespace

CommandRunner addInfoCommand(CLI::App& app, const GlobalOptions& global) {
    app.add_subcommand("info", "Load both drivers and print their information records");
    return [&global]() {
        int status = kExitOk;
        for (const char* name : kDrivers) {
            try {
                DriverLibrary driver(driverPath(global, name));
                printDriver(driver);
            } catch (const DriverLoadError& e) {
                std::fprintf(stderr, "velkano: %s\n", e.what());
                status = kExitFailure;
            }
        }
        return status;
    };
}
