// Drivers loaded from .drf files, as the host program loads them.
#include "host/driver_library.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>
#endif

#include <vector>

namespace {

std::string lastLoadError() {
#if defined(_WIN32)
    return "error " + std::to_string(GetLastError());
#else
    const char* text = dlerror();
    return text != nullptr ? text : "unknown error";
#endif
}

}  // namespace

DriverLibrary::DriverLibrary(const std::string& path) : FIO_ExportTable{}, path_(path) {
#if defined(_WIN32)
    handle_ = reinterpret_cast<void*>(LoadLibraryA(path.c_str()));
#else
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
#endif
    if (handle_ == nullptr)
        throw DriverLoadError("cannot load driver " + path + ": " + lastLoadError());
    try {
        resolve(DriverInfo, "FIO_DriverInfo");
        resolve(IsFileOfMyType, "FIO_IsFileOfMyType");
        resolve(GetExtensions, "FIO_GetExtensions");
        resolve(TranslateFilename, "FIO_TranslateFilename");
        resolve(ReadObject, "FIO_ReadObject");
        resolve(InitDriver, "FIO_InitDriver");
        resolve(ExitDriver, "FIO_ExitDriver");
        resolve(WriteTP, "FIO_WriteTP");
        resolve(WriteHeader, "FIO_WriteHeader");
        resolve(ReadFDEntry, "FIO_ReadFDEntry");
        resolve(Flight2IGC, "FIO_Flight2IGC");
        resolve(IGC2Flight, "FIO_IGC2Flight");
        resolve(WriteDeclaration, "FIO_WriteDeclaration");
        resolve(ReadDeclaration, "FIO_ReadDeclaration");
        resolve(WriteRoute, "FIO_WriteRoute");
    } catch (...) {
        unload();
        throw;
    }
}

DriverLibrary::~DriverLibrary() {
    unload();
}

void DriverLibrary::unload() {
    if (handle_ == nullptr) return;
#if defined(_WIN32)
    FreeLibrary(reinterpret_cast<HMODULE>(handle_));
#else
    dlclose(handle_);
#endif
    handle_ = nullptr;
}

void* DriverLibrary::symbol(const char* name) const {
    if (handle_ == nullptr) return nullptr;
#if defined(_WIN32)
    return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(handle_), name));
#else
    return dlsym(handle_, name);
#endif
}

template <typename Fn>
void DriverLibrary::resolve(Fn& slot, const char* name) {
    void* address = symbol(name);
    if (address == nullptr) throw DriverLoadError(path_ + ": missing export " + name);
    slot = reinterpret_cast<Fn>(address);
}

std::string executableDirectory() {
#if defined(_WIN32)
    std::vector<char> buffer(32768);
    const DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    std::string path(buffer.data(), n);
    const auto slash = path.find_last_of("\\/");
#else
    std::vector<char> buffer(4096);
    const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0) return ".";
    std::string path(buffer.data(), static_cast<size_t>(n));
    const auto slash = path.find_last_of('/');
#endif
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}
