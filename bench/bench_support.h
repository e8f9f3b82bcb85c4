// What the benchmarks share: the drivers loaded as a host loads them, a scratch directory,
// the flight files by fix count, and in-memory output streams.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "host/driver_library.h"
#include "velkano/host_records.h"

namespace bench {

// Loaded once from the benchmark's own directory, where the build puts the drivers.
DriverLibrary& flightDriver();
DriverLibrary& routeDriver();

// A directory of this run, removed at exit.
const std::string& scratchDir();
std::string scratchFile(const std::string& name);

// The flight file of fixCount fixes, built once: its bytes, and its path on disk.
const std::vector<uint8_t>& flightImage(int fixCount);
const std::string& flightPath(int fixCount);

// The driver's and the minimal converter's IGC text of that flight.
std::string driverIgc(int fixCount);
std::string minimalIgcOf(int fixCount);

// A write stream over a fixed block of memory, reused from the start on every rewind, so
// that output costs no allocation and no system call.
class MemorySink {
public:
    explicit MemorySink(size_t capacity);
    ~MemorySink();
    MemorySink(const MemorySink&) = delete;
    MemorySink& operator=(const MemorySink&) = delete;

    std::FILE* stream() const { return stream_; }
    void rewind();
    // Bytes written since the last rewind; flushes first.
    size_t size();

private:
    std::vector<char> memory_;
    std::FILE* stream_ = nullptr;
};

// The host's write sequence of a task file at taskPath and its turnpoint file: every
// turnpoint, then routeCount routes taken in turn from routes, numbered 1, 2, 3... as they go
// out. False when the driver refuses any step.
bool writeRouteFiles(DriverLibrary& driver, const std::string& taskPath,
                     const std::vector<FIO_TPEntry>& turnpoints,
                     std::vector<std::unique_ptr<FIO_Route>>& routes, int routeCount);

// Whole-file helpers with one read or write call each. readWhole reuses the vector's storage.
void readWhole(const std::string& path, std::vector<uint8_t>& bytes);
void writeWhole(const std::string& path, const void* bytes, size_t size);

}  // namespace bench
