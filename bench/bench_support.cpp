#include "bench_support.h"

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <system_error>

#include "bench_inputs.h"
#include "mem_file.h"
#include "minimal_igc.h"

namespace bench {

namespace {

class ScratchDirectory {
public:
    ScratchDirectory() {
        std::string pattern = (std::filesystem::temp_directory_path() / "velkano-bench-XXXXXX");
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::system_error(errno, std::generic_category(), "scratch directory");
        }
        path_ = pattern;
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace

DriverLibrary& flightDriver() {
    static DriverLibrary driver(executableDirectory() + "/Velkano17Flt.drf");
    return driver;
}

DriverLibrary& routeDriver() {
    static DriverLibrary driver(executableDirectory() + "/Velkano17Rte.drf");
    return driver;
}

const std::string& scratchDir() {
    static ScratchDirectory directory;
    return directory.path();
}

std::string scratchFile(const std::string& name) {
    return scratchDir() + "/" + name;
}

const std::vector<uint8_t>& flightImage(int fixCount) {
    static std::map<int, std::vector<uint8_t>> images;
    auto found = images.find(fixCount);
    if (found == images.end()) found = images.emplace(fixCount, flightFile(fixCount)).first;
    return found->second;
}

const std::string& flightPath(int fixCount) {
    static std::map<int, std::string> paths;
    auto found = paths.find(fixCount);
    if (found == paths.end()) {
        const std::string path = scratchFile("flight-" + std::to_string(fixCount) + ".flt");
        const std::vector<uint8_t>& image = flightImage(fixCount);
        writeWhole(path, image.data(), image.size());
        found = paths.emplace(fixCount, path).first;
    }
    return found->second;
}

std::string driverIgc(int fixCount) {
    MemFile flights(flightImage(fixCount));
    char* buffer = nullptr;
    size_t size = 0;
    std::FILE* stream = ::open_memstream(&buffer, &size);
    if (stream == nullptr) throw std::system_error(errno, std::generic_category(), "memstream");
    int32_t converted = 0;
    {
        CStdioFile igc(stream, "driver.igc", false);
        converted = flightDriver().Flight2IGC(&flights, &igc);
    }
    std::fclose(stream);
    std::string text(buffer, size);
    std::free(buffer);
    if (converted != 1) throw std::runtime_error("the driver converted no flight");
    return text;
}

std::string minimalIgcOf(int fixCount) {
    std::string text;
    if (!minimalIgc(flightImage(fixCount), text)) {
        throw std::runtime_error("the minimal converter refused the flight");
    }
    return text;
}

MemorySink::MemorySink(size_t capacity) : memory_(capacity) {
    stream_ = ::fmemopen(memory_.data(), memory_.size(), "w");
    if (stream_ == nullptr) throw std::system_error(errno, std::generic_category(), "fmemopen");
}

MemorySink::~MemorySink() {
    std::fclose(stream_);
}

void MemorySink::rewind() {
    std::rewind(stream_);
}

size_t MemorySink::size() {
    std::fflush(stream_);
    return static_cast<size_t>(std::ftell(stream_));
}

bool writeRouteFiles(DriverLibrary& driver, const std::string& taskPath,
                     const std::vector<FIO_TPEntry>& turnpoints,
                     std::vector<std::unique_ptr<FIO_Route>>& routes, int routeCount) {
    driver.InitDriver();
    bool ok = true;
    {
        CStdioFile task(taskPath,
                        CStdioFile::typeBinary | CStdioFile::modeCreate | CStdioFile::modeWrite);
        FIO_Header header;
        header.kind = FIO_Header::kBegin;
        header.turnpointCount = static_cast<int32_t>(turnpoints.size());
        header.routeCount = routeCount;
        ok = driver.WriteHeader(&task, &header) == 1;
        for (const FIO_TPEntry& entry : turnpoints) {
            ok = ok && driver.WriteTP(nullptr, const_cast<FIO_TPEntry*>(&entry)) == 1;
        }
        for (int i = 0; i < routeCount; ++i) {
            FIO_Route& route = *routes[static_cast<size_t>(i) % routes.size()];
            route.id = i + 1;
            ok = ok && driver.WriteRoute(&task, &route) == 1;
        }
        header.kind = FIO_Header::kEnd;
        ok = ok && driver.WriteHeader(&task, &header) == 1;
        task.Close();
    }
    driver.ExitDriver();  // closes the companion file
    return ok;
}

void readWhole(const std::string& path, std::vector<uint8_t>& bytes) {
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (in == nullptr) throw std::system_error(errno, std::generic_category(), path);
    std::fseek(in, 0, SEEK_END);
    const long size = std::ftell(in);
    std::rewind(in);
    bytes.resize(size > 0 ? static_cast<size_t>(size) : 0);
    const size_t got = std::fread(bytes.data(), 1, bytes.size(), in);
    std::fclose(in);
    if (size < 0 || got != bytes.size()) throw std::runtime_error("short read of " + path);
}

void writeWhole(const std::string& path, const void* bytes, size_t size) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) throw std::system_error(errno, std::generic_category(), path);
    const size_t put = std::fwrite(bytes, 1, size, out);
    if (std::fclose(out) != 0 || put != size) {
        throw std::runtime_error("short write of " + path);
    }
}

}  // namespace bench
