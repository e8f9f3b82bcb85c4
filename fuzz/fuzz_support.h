// What every harness shares: a scratch directory for the files a driver opens by path, a
// heap budget per input, and a measurement of the worst input seen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// The most heap one input may hold live at any moment, over what was live before it: a
// fixed allowance, which is all a count the file does not back may cost, plus an amount
// per input byte for what the file does back (the entries of a long route, the fixes of a
// long flight).
inline constexpr int64_t kHeapBudget = 4 << 20;
inline constexpr int64_t kHeapPerInputByte = 64;

// A directory created on first use and removed when the process ends.
const std::string& scratchDirectory();
std::string scratchFile(const std::string& name);

// Replaces the file's content with size bytes.
void writeScratchFile(const std::string& path, const uint8_t* data, size_t size);

// Reports a broken property and aborts, so libFuzzer keeps the input.
[[noreturn]] void fail(const char* what);
#define FUZZ_CHECK(condition)                                                   \
    do {                                                                        \
        if (!(condition)) ::fuzz::fail(__FILE__ ":" FUZZ_LINE ": " #condition); \
    } while (0)
#define FUZZ_STRINGIFY(x) #x
#define FUZZ_TO_STRING(x) FUZZ_STRINGIFY(x)
#define FUZZ_LINE FUZZ_TO_STRING(__LINE__)

// Measures one input: its peak heap above the level at construction and its run time.
// Aborts when the peak exceeds fixedBudget + perInputByte * inputSize. With VELKANO_FUZZ_REPORT set
// in the environment, the process prints the worst peak and the slowest input when it ends.
class InputScope {
public:
    explicit InputScope(size_t inputSize, int64_t fixedBudget = kHeapBudget,
                        int64_t perInputByte = kHeapPerInputByte);
    ~InputScope();

    InputScope(const InputScope&) = delete;
    InputScope& operator=(const InputScope&) = delete;

    // Counts a call of the export under test, for the report.
    void countCall() { ++calls_; }

private:
    size_t inputSize_;
    int64_t budget_;
    int64_t baseline_;
    int64_t start_;
    uint64_t calls_ = 0;
};

}  // namespace fuzz
