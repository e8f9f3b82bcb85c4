#include "host_test_support.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#if defined(_WIN32)
#include <io.h>

#include <random>
#endif

namespace testing_support {

std::string driverPath(const std::string& fileName) {
    return std::string(VELKANO_DRIVER_DIR) + "/" + fileName;
}

ScratchDir::ScratchDir() {
#if defined(_WIN32)
    // No mkdtemp: try fresh random names until one is created.
    std::random_device random;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        auto candidate =
            std::filesystem::temp_directory_path() / ("velkano-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) path_ = candidate;
    }
    if (path_.empty()) throw std::runtime_error("cannot create a scratch directory");
#else
    std::string pattern = (std::filesystem::temp_directory_path() / "velkano-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
#endif
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::vector<uint8_t> readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string readFileText(const std::string& path) {
    const std::vector<uint8_t> bytes = readFileBytes(path);
    return {bytes.begin(), bytes.end()};
}

void writeFileText(const std::string& path, const std::string& text) {
    writeFileBytes(path, {text.begin(), text.end()});
}

int openDescriptorCount() {
    int count = 0;
#if defined(_WIN32)
    // The C runtime's descriptor table, which host and drivers share through msvcrt.dll.
    for (int fd = 0; fd < 2048; ++fd) {
        if (_get_osfhandle(fd) != -1) ++count;
    }
#else
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
#endif
    return count;
}

}  // namespace testing_support
