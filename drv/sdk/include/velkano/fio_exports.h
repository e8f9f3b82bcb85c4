// The export table of a driver library (.drf). Both drivers export all fifteen names; an
// entry a driver does not support returns -1 at once and ignores its arguments. A host
// looks the functions up by name (or, on Windows, by ordinal) after loading the library.
//
// Host and drivers pass C++ objects to each other (std::string and std::vector members,
// virtual destructors, exceptions thrown out of the exports), so a host must be built with
// the compiler and standard library the drivers were built with: GCC with libstdc++ on
// Linux, MinGW-w64 GCC on Windows. velkanoAbiMatches() (velkano/abi.h) checks the layouts.
// The entries the route reader adds to a FIO_Route are created inside the route driver and
// their virtual destructor lives there: free them (destroy the route) before unloading it.
// Likewise the exceptions the exports throw: handle them while the driver is still loaded.
#pragma once

#include <cstdint>

#include "velkano/driver_info.h"
#include "velkano/fio_codes.h"
#include "velkano/fio_error.h"
#include "velkano/host_file.h"
#include "velkano/host_records.h"

class FIOVelkano17;  // the driver state; opaque to hosts

#if defined(_WIN32)
#define FIO_EXPORT __declspec(dllexport)
#else
#define FIO_EXPORT __attribute__((visibility("default")))
#endif

// Ordinals of the export table (the .def file of each library carries the same numbers).
enum FIO_Ordinal : int {
    kOrdDriverInfo = 1,
    kOrdIsFileOfMyType = 2,
    kOrdGetExtensions = 3,
    kOrdTranslateFilename = 4,
    kOrdReadObject = 5,
    kOrdInitDriver = 8,
    kOrdExitDriver = 9,
    kOrdWriteTP = 10,
    kOrdWriteHeader = 11,
    kOrdReadFDEntry = 12,
    kOrdFlight2IGC = 17,
    kOrdIGC2Flight = 18,
    kOrdWriteDeclaration = 19,
    kOrdReadDeclaration = 20,
    kOrdWriteRoute = 21,
};

// Size of the record FIO_DriverInfo fills.
constexpr int kDriverInfoSize = sizeof(FIO_DriverInfoRecord);

extern "C" {

// Fills the 144-byte driver information record (a FIO_DriverInfoRecord). Returns 1.
FIO_EXPORT int32_t FIO_DriverInfo(void* record);
// Returns 1 whatever it is given.
FIO_EXPORT int32_t FIO_IsFileOfMyType(const char* fileName);
// Zeroes size bytes of buffer; for a handled type copies the extension (no dot) with at
// most size - 1 characters and returns 1; else returns -1.
FIO_EXPORT int32_t FIO_GetExtensions(int32_t type, char* buffer, uint32_t size);
// Copies source into destination (at most size - 1 characters, terminated). Returns 1.
FIO_EXPORT int32_t FIO_TranslateFilename(const char* source, char* destination, uint32_t size);
// Route driver: reads the next turnpoint (returns 1) or route (returns 2) of a task file and
// its companion turnpoint file; -1 when nothing is left. Throws FIO_Error on malformed input.
FIO_EXPORT int32_t FIO_ReadObject(CFile* file, FIO_TPEntry* entry, FIO_Route* route);
// Creates the driver state; returns it (an opaque handle) or null.
FIO_EXPORT FIOVelkano17* FIO_InitDriver(void);
// Destroys the driver state and closes the companion files. Also run on unload.
FIO_EXPORT void FIO_ExitDriver(void);
// Route driver: writes one turnpoint to the companion file. 1, or -1 when refused.
FIO_EXPORT int32_t FIO_WriteTP(void* unused, FIO_TPEntry* entry);
// Route driver: kind 3 writes both file headers, kind 4 both trailers. 1, or -1 when refused.
FIO_EXPORT int32_t FIO_WriteHeader(CFile* file, FIO_Header* header);
FIO_EXPORT int32_t FIO_ReadFDEntry(void* a, void* b, void* c, void* d);
// Flight driver: converts the next flight of a flight file to IGC text. 1 when a flight was
// converted, 0 when none is left, -1 when the driver state cannot be created.
FIO_EXPORT int32_t FIO_Flight2IGC(CFile* flightFile, CStdioFile* igcFile);
FIO_EXPORT int32_t FIO_IGC2Flight(void* a, void* b, void* c, void* d);
FIO_EXPORT int32_t FIO_WriteDeclaration(void* a, void* b, void* c, void* d);
FIO_EXPORT int32_t FIO_ReadDeclaration(void* a, void* b, void* c, void* d);
// Route driver: writes one route to the task file. 1, or -1 when refused.
FIO_EXPORT int32_t FIO_WriteRoute(CFile* file, FIO_Route* route);

}  // extern "C"

// Function pointer types for hosts that look the exports up at run time.
using FIO_DriverInfoFn = int32_t (*)(void*);
using FIO_IsFileOfMyTypeFn = int32_t (*)(const char*);
using FIO_GetExtensionsFn = int32_t (*)(int32_t, char*, uint32_t);
using FIO_TranslateFilenameFn = int32_t (*)(const char*, char*, uint32_t);
using FIO_ReadObjectFn = int32_t (*)(CFile*, FIO_TPEntry*, FIO_Route*);
using FIO_InitDriverFn = FIOVelkano17* (*)();
using FIO_ExitDriverFn = void (*)();
using FIO_WriteTPFn = int32_t (*)(void*, FIO_TPEntry*);
using FIO_WriteHeaderFn = int32_t (*)(CFile*, FIO_Header*);
using FIO_UnsupportedFn = int32_t (*)(void*, void*, void*, void*);
using FIO_Flight2IGCFn = int32_t (*)(CFile*, CStdioFile*);
using FIO_WriteRouteFn = int32_t (*)(CFile*, FIO_Route*);

// The fifteen exports of one driver as pointers: what a host resolves after loading a .drf, or
// what a program that links the drivers in gets from velkano/linked_drivers.h.
struct FIO_ExportTable {
    FIO_DriverInfoFn DriverInfo;
    FIO_IsFileOfMyTypeFn IsFileOfMyType;
    FIO_GetExtensionsFn GetExtensions;
    FIO_TranslateFilenameFn TranslateFilename;
    FIO_ReadObjectFn ReadObject;
    FIO_InitDriverFn InitDriver;
    FIO_ExitDriverFn ExitDriver;
    FIO_WriteTPFn WriteTP;
    FIO_WriteHeaderFn WriteHeader;
    FIO_UnsupportedFn ReadFDEntry;
    FIO_Flight2IGCFn Flight2IGC;
    FIO_UnsupportedFn IGC2Flight;
    FIO_UnsupportedFn WriteDeclaration;
    FIO_UnsupportedFn ReadDeclaration;
    FIO_WriteRouteFn WriteRoute;
};
