#include "fuzz_support.h"

#include <fcntl.h>
#include <sanitizer/allocator_interface.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace fuzz {

namespace {

std::atomic<int64_t> liveBytes{0};
std::atomic<int64_t> peakBytes{0};

void onMalloc(const volatile void*, size_t size) {
    const int64_t now =
        liveBytes.fetch_add(static_cast<int64_t>(size)) + static_cast<int64_t>(size);
    int64_t peak = peakBytes.load(std::memory_order_relaxed);
    while (now > peak && !peakBytes.compare_exchange_weak(peak, now)) {
    }
}

void onFree(const volatile void* pointer) {
    // The hook runs before the block is released, so its size is still known.
    const void* block = const_cast<const void*>(pointer);
    if (block != nullptr && __sanitizer_get_ownership(block) != 0) {
        liveBytes.fetch_sub(static_cast<int64_t>(__sanitizer_get_allocated_size(block)));
    }
}

struct Worst {
    int64_t peak = 0;
    size_t peakInput = 0;
    int64_t micros = 0;
    size_t slowInput = 0;
    uint64_t slowCalls = 0;
    uint64_t inputs = 0;
};
Worst worst;

void printReport() {
    std::fprintf(stderr,
                 "resource report: %llu inputs; worst heap peak %lld bytes (input of %zu bytes); "
                 "slowest input %lld us (%zu bytes, %llu export calls)\n",
                 static_cast<unsigned long long>(worst.inputs), static_cast<long long>(worst.peak),
                 worst.peakInput, static_cast<long long>(worst.micros), worst.slowInput,
                 static_cast<unsigned long long>(worst.slowCalls));
}

bool installHooks() {
    __sanitizer_install_malloc_and_free_hooks(onMalloc, onFree);
    if (std::getenv("VELKANO_FUZZ_REPORT") != nullptr) std::atexit(printReport);
    return true;
}
const bool hooksInstalled = installHooks();

int64_t nowMicros() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void removeScratch() {
    std::error_code ignored;
    std::filesystem::remove_all(scratchDirectory(), ignored);
}

}  // namespace

const std::string& scratchDirectory() {
    static const std::string directory = [] {
        // Memory-backed where there is one: a disk file truncated a few thousand times a
        // second waits for the disk.
        std::error_code ignored;
        const std::filesystem::path parent = std::filesystem::is_directory("/dev/shm", ignored)
                                                 ? std::filesystem::path("/dev/shm")
                                                 : std::filesystem::temp_directory_path();
        std::string pattern = (parent / "velkano-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) fail("cannot create a scratch directory");
        return pattern;
    }();
    static const bool cleanup = (std::atexit(removeScratch), true);
    (void)cleanup;
    return directory;
}

std::string scratchFile(const std::string& name) {
    return scratchDirectory() + "/" + name;
}

void writeScratchFile(const std::string& path, const uint8_t* data, size_t size) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) fail("cannot write a scratch file");
    size_t done = 0;
    while (done < size) {
        const ssize_t put = write(fd, data + done, size - done);
        if (put <= 0) fail("cannot write a scratch file");
        done += static_cast<size_t>(put);
    }
    close(fd);
}

void fail(const char* what) {
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

InputScope::InputScope(size_t inputSize, int64_t fixedBudget, int64_t perInputByte)
    : inputSize_(inputSize),
      budget_(fixedBudget + perInputByte * static_cast<int64_t>(inputSize)),
      baseline_(liveBytes.load()),
      start_(nowMicros()) {
    (void)hooksInstalled;
    peakBytes.store(baseline_);
}

InputScope::~InputScope() {
    const int64_t peak = peakBytes.load() - baseline_;
    const int64_t micros = nowMicros() - start_;
    ++worst.inputs;
    if (peak > worst.peak) {
        worst.peak = peak;
        worst.peakInput = inputSize_;
    }
    if (micros > worst.micros) {
        worst.micros = micros;
        worst.slowInput = inputSize_;
        worst.slowCalls = calls_;
    }
    if (peak > budget_) {
        std::fprintf(stderr, "heap peak of %lld bytes for an input of %zu bytes\n",
                     static_cast<long long>(peak), inputSize_);
        fail("heap peak within the budget");
    }
}

}  // namespace fuzz
