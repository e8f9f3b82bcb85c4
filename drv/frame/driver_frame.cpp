#include "driver_frame.h"

#include <cstring>
#include <new>

#include "velkano/fio_exports.h"

namespace velkano {
inline namespace VELKANO_FRAME_NAMESPACE {

global_values* g_driver = nullptr;

namespace {

constexpr char kVersionText[] = "Version 1.0";
constexpr char kMakerText[] = "Tessavorn GmbH";

// Copies at most N - 1 characters, stopping at the source's terminator.
template <size_t N>
void copyText(char (&field)[N], const char* text) {
    for (size_t i = 0; i + 1 < N && text[i] != '\0'; ++i) field[i] = text[i];
}

FIO_DriverInfoRecord infoRecord() {
    FIO_DriverInfoRecord record;
    std::memset(&record, 0, sizeof record);
    copyText(record.version, kVersionText);
    copyText(record.name, kDriverIdentity.name);
    copyText(record.maker, kMakerText);
    record.reads = 1;
    record.writes = kDriverIdentity.writes ? 1 : 0;
    int32_t types = 0;
    for (const int32_t type : kDriverIdentity.fileTypes) types |= type;
    setInfoWord(record.fileTypes, types);
    kDriverIdentity.setLimits(record);
    return record;
}

bool handles(int32_t type) {
    for (const int32_t handled : kDriverIdentity.fileTypes) {
        if (handled == type) return true;
    }
    return false;
}

}  // namespace

global_values* ensureDriver() {
    if (g_driver != nullptr) return g_driver;
    try {
        g_driver = new global_values(makeDriverState());
    } catch (const std::bad_alloc&) {
        g_driver = nullptr;
    }
    return g_driver;
}

}  // namespace VELKANO_FRAME_NAMESPACE
}  // namespace velkano

using velkano::g_driver;
using velkano::kDriverIdentity;

extern "C" {

int32_t FIO_NAME(FIO_DriverInfo)(void* record) {
    if (record == nullptr) return -1;
    const FIO_DriverInfoRecord info = velkano::infoRecord();
    std::memcpy(record, &info, sizeof info);
    return 1;
}

int32_t FIO_NAME(FIO_IsFileOfMyType)(const char*) {
    return 1;
}

int32_t FIO_NAME(FIO_GetExtensions)(int32_t type, char* buffer, uint32_t size) {
    if (buffer != nullptr && size > 0) std::memset(buffer, 0, size);
    if (!velkano::handles(type)) return -1;
    if (buffer == nullptr || size == 0) return 1;
    const char* ext = kDriverIdentity.extension;
    for (uint32_t i = 0; i + 1 < size && ext[i] != '\0'; ++i) buffer[i] = ext[i];
    return 1;
}

int32_t FIO_NAME(FIO_TranslateFilename)(const char* source, char* destination, uint32_t size) {
    if (destination == nullptr || size == 0) return 1;
    uint32_t i = 0;
    if (source != nullptr) {
        for (; i + 1 < size && source[i] != '\0'; ++i) destination[i] = source[i];
    }
    destination[i] = '\0';
    return 1;
}

void FIO_NAME(FIO_ExitDriver)(void) {
    global_values* old = g_driver;
    g_driver = nullptr;
    delete old;
}

FIOVelkano17* FIO_NAME(FIO_InitDriver)(void) {
    // A state left over from an earlier FIO_InitDriver is released, closing its files.
    FIO_NAME(FIO_ExitDriver)();
    global_values* created = velkano::ensureDriver();
    return created != nullptr ? created->state.get() : nullptr;
}

int32_t FIO_NAME(FIO_ReadFDEntry)(void*, void*, void*, void*) {
    return -1;
}
int32_t FIO_NAME(FIO_IGC2Flight)(void*, void*, void*, void*) {
    return -1;
}
int32_t FIO_NAME(FIO_WriteDeclaration)(void*, void*, void*, void*) {
    return -1;
}
int32_t FIO_NAME(FIO_ReadDeclaration)(void*, void*, void*, void*) {
    return -1;
}

}  // extern "C"

#if !defined(_WIN32)
// Unloading the library releases the state and closes the companion files even when the
// host never called FIO_ExitDriver.
__attribute__((destructor)) static void releaseOnUnload() {
    FIO_NAME(FIO_ExitDriver)();
}
#endif
