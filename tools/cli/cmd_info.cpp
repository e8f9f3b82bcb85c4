// velkano info: load both drivers and print what each says about itself.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

#include "cli/command_support.h"
#include "cli/commands.h"
#include "host/driver_library.h"

namespace velkano::tool {

namespace {

constexpr const char* kDrivers[] = {kRouteDriver, kFlightDriver};

template <size_t N>
std::string textField(const char (&field)[N]) {
    size_t length = 0;
    while (length < N && field[length] != '\0') ++length;
    return std::string(field, length);
}

void printDriver(DriverLibrary& driver) {
    FIO_DriverInfoRecord record;
    driver.DriverInfo(&record);
    const int32_t types = infoWord(record.fileTypes);
    std::printf("%s\n", driver.path().c_str());
    std::printf("  name:       %s\n", textField(record.name).c_str());
    std::printf("  version:    %s\n", textField(record.version).c_str());
    std::printf("  maker:      %s\n", textField(record.maker).c_str());
    std::printf("  flags:      %u %u (%s)\n", record.reads, record.writes,
                record.writes ? "reads and writes" : "reads only");
    std::printf("  file types: 0x%X\n", static_cast<unsigned>(types));
    for (int bit = 0; bit < 32; ++bit) {
        const int32_t code = static_cast<int32_t>(1u << bit);
        if ((types & code) == 0) continue;
        char extension[16];
        const int32_t result = driver.GetExtensions(code, extension, sizeof extension);
        std::printf("    %-8d %s\n", code, result == 1 ? extension : "(no extension)");
    }
    const uint8_t(*const limits[])[4] = {
        &record.turnpointLimit, &record.routeLimit,          &record.routeWord100,
        &record.flightLimit,    &record.reserved108[0],      &record.reserved108[1],
        &record.reserved108[2], &record.objectLimit,         &record.reserved124[0],
        &record.reserved124[1], &record.turnpointNameLength, &record.routeNameWidth};
    std::printf("  limits:    ");
    for (const auto* word : limits) std::printf(" %d", infoWord(*word));
    std::printf("\n");
}

}  // namespace

int printVersions(const GlobalOptions& global) {
    std::printf("velkano %s\n", VELKANO_VERSION);
    int status = kExitOk;
    for (const char* name : kDrivers) {
        status = std::max(status, runCommand({}, [&] {
                              const std::unique_ptr<DriverLibrary> driver =
                                  loadDriver(global.driverDir, name);
                              FIO_DriverInfoRecord record;
                              driver->DriverInfo(&record);
                              std::printf("%s: %s (%s)\n", name, textField(record.version).c_str(),
                                          driver->path().c_str());
                              return kExitOk;
                          }));
    }
    return status;
}

CommandRunner addInfoCommand(CLI::App& app, const GlobalOptions& global) {
    app.add_subcommand("info", "Load both drivers and print their information records");
    return [&global]() {
        int status = kExitOk;
        for (const char* name : kDrivers) {
            status = std::max(status, runCommand({}, [&] {
                                  printDriver(*loadDriver(global.driverDir, name));
                                  return kExitOk;
                              }));
        }
        return status;
    };
}

}  // namespace velkano::tool
