// A host of the Velkano drivers: loads both drivers by name, converts the first flight of a
// flight file to IGC and lists the turnpoints and routes of a task file.
//   example_host FLIGHTS.flt OUT.igc TASKS.rtx
#include <cstdio>
#include <stdexcept>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include "velkano/abi.h"
#include "velkano/fio_exports.h"

namespace {

// A loaded driver library with its state: created after loading, destroyed before unloading.
class Driver {
public:
    explicit Driver(const std::string& name) : path_(std::string(VELKANO_DRIVER_DIR) + "/" + name) {
#if defined(_WIN32)
        handle_ = reinterpret_cast<void*>(LoadLibraryA(path_.c_str()));
#else
        handle_ = dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL);
#endif
        if (handle_ == nullptr) throw std::runtime_error("cannot load " + path_);
        exit_ = get<FIO_ExitDriverFn>("FIO_ExitDriver");
        get<FIO_InitDriverFn>("FIO_InitDriver")();
    }
    ~Driver() {
        exit_();
#if defined(_WIN32)
        FreeLibrary(reinterpret_cast<HMODULE>(handle_));
#else
        dlclose(handle_);
#endif
    }
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    template <typename Fn>
    Fn get(const char* name) const {
#if defined(_WIN32)
        void* address =
            reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(handle_), name));
#else
        void* address = dlsym(handle_, name);
#endif
        if (address == nullptr) throw std::runtime_error(path_ + " has no " + name);
        return reinterpret_cast<Fn>(address);
    }

private:
    std::string path_;
    void* handle_ = nullptr;
    FIO_ExitDriverFn exit_ = nullptr;
};

constexpr unsigned kRead =
    CStdioFile::modeRead | CStdioFile::shareDenyNone | CStdioFile::typeBinary;
constexpr unsigned kWrite = CStdioFile::modeCreate | CStdioFile::modeWrite | CStdioFile::typeBinary;

// Runs body with the named driver loaded. What the driver throws is caught while it is still
// loaded and thrown again as the host's own error: the exception's destructor lives in the
// driver.
template <typename Body>
void withDriver(const char* name, Body body) {
    Driver driver(name);
    try {
        body(driver);
    } catch (const FIO_Error& e) {
        throw std::runtime_error(std::string("malformed file (") + e.message + ")");
    } catch (const std::exception& e) {  // CFileException
        throw std::runtime_error(e.what());
    }
}

void convertFirstFlight(const char* flightPath, const char* igcPath) {
    withDriver("Velkano17Flt.drf", [&](const Driver& driver) {
        const auto flight2igc = driver.get<FIO_Flight2IGCFn>("FIO_Flight2IGC");
        CStdioFile flights(flightPath, kRead);
        CStdioFile igc(igcPath, kWrite);
        if (flight2igc(&flights, &igc) != 1) throw std::runtime_error("no flight");
        igc.Close();
    });
}

void listTasks(const char* taskPath) {
    withDriver("Velkano17Rte.drf", [&](const Driver& driver) {
        const auto readObject = driver.get<FIO_ReadObjectFn>("FIO_ReadObject");
        CStdioFile tasks(taskPath, kRead);
        for (;;) {
            // The reader adds its route points to route; they are freed when route goes out
            // of scope, well before the driver is unloaded.
            FIO_TPEntry entry;
            FIO_Route route;
            const int32_t kind = readObject(&tasks, &entry, &route);
            // Texts are printed in the files' code page, windows-1252.
            if (kind == 1) {
                std::printf("turnpoint %d %s %.5f %.5f\n", entry.number, entry.name.c_str(),
                            entry.latitude, entry.longitude);
            } else if (kind == 2) {
                std::printf("route %d %s:", route.id, route.name.c_str());
                for (const FIO_TPEntry* point : route.points) std::printf(" %d", point->number);
                std::printf("\n");
            } else {
                return;
            }
        }
    });
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: example_host FLIGHTS.flt OUT.igc TASKS.rtx\n");
        return 2;
    }
    if (!velkanoAbiMatches()) {
        std::fprintf(stderr, "example_host: built with another C++ library than the drivers\n");
        return 1;
    }
    try {
        convertFirstFlight(argv[1], argv[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "example_host: %s: %s\n", argv[1], e.what());
        return 1;
    }
    try {
        listTasks(argv[3]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "example_host: %s: %s\n", argv[3], e.what());
        return 1;
    }
    return 0;
}
