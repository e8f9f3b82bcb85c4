// Loads a driver plug-in (.drf) the way the host program does: by path, then every export
// by name. Reports a missing library or export precisely.
#pragma once

#include <stdexcept>
#include <string>

#include "velkano/fio_exports.h"

class DriverLoadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class DriverLibrary {
public:
    // Loads path and resolves all fifteen exports; throws DriverLoadError.
    explicit DriverLibrary(const std::string& path);
    ~DriverLibrary();

    DriverLibrary(const DriverLibrary&) = delete;
    DriverLibrary& operator=(const DriverLibrary&) = delete;

    // Unloads the library now (the destructor does the same). Idempotent.
    void unload();

    const std::string& path() const { return path_; }
    // Looks up any symbol by name; null when absent.
    void* symbol(const char* name) const;

    FIO_DriverInfoFn DriverInfo = nullptr;
    FIO_IsFileOfMyTypeFn IsFileOfMyType = nullptr;
    FIO_GetExtensionsFn GetExtensions = nullptr;
    FIO_TranslateFilenameFn TranslateFilename = nullptr;
    FIO_ReadObjectFn ReadObject = nullptr;
    FIO_InitDriverFn InitDriver = nullptr;
    FIO_ExitDriverFn ExitDriver = nullptr;
    FIO_WriteTPFn WriteTP = nullptr;
    FIO_WriteHeaderFn WriteHeader = nullptr;
    FIO_UnsupportedFn ReadFDEntry = nullptr;
    FIO_Flight2IGCFn Flight2IGC = nullptr;
    FIO_UnsupportedFn IGC2Flight = nullptr;
    FIO_UnsupportedFn WriteDeclaration = nullptr;
    FIO_UnsupportedFn ReadDeclaration = nullptr;
    FIO_WriteRouteFn WriteRoute = nullptr;

private:
    template <typename Fn>
    void resolve(Fn& slot, const char* name);

    std::string path_;
    void* handle_ = nullptr;
};

// The directory the running executable lives in.
std::string executableDirectory();
