#include "driver_frame.h"

#include <cstring>
#include <new>

#include "global_values.h"
#include "velkano/fio_exports.h"

namespace velkano {

global_values* g_driver = nullptr;

namespace {

constexpr int kVersionOffset = 0, kVersionWidth = 20;
constexpr int kNameOffset = 20, kNameWidth = 30;
constexpr int kMakerOffset = 50, kMakerWidth = 34;
constexpr int kFlagOffset = 84, kWritesOffset = 85, kWordsOffset = 88;

// Copies at most width - 1 characters, stopping at the source's terminator.
void copyField(unsigned char* record, int offset, int width, const char* text) {
    for (int i = 0; i < width - 1 && text[i] != '\0'; ++i) {
        record[offset + i] = static_cast<unsigned char>(text[i]);
    }
}

void putInt32(unsigned char* at, int32_t value) {
    const auto u = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(u >> (8 * i));
}

bool handles(int32_t type) {
    for (int i = 0; i < kDriverIdentity.fileTypeCount; ++i) {
        if (kDriverIdentity.fileTypes[i] == type) return true;
    }
    return false;
}

}  // namespace

global_values* ensureDriver() {
    if (g_driver == nullptr) g_driver = new (std::nothrow) global_values();
    return g_driver;
}

}  // namespace velkano

using velkano::g_driver;
using velkano::kDriverIdentity;

extern "C" {

int32_t FIO_DriverInfo(void* record) {
    if (record == nullptr) return -1;
    auto* bytes = static_cast<unsigned char*>(record);
    std::memset(bytes, 0, kDriverInfoSize);
    velkano::copyField(bytes, velkano::kNameOffset, velkano::kNameWidth, kDriverIdentity.name);
    velkano::copyField(bytes, velkano::kVersionOffset, velkano::kVersionWidth,
                       kDriverIdentity.version);
    velkano::copyField(bytes, velkano::kMakerOffset, velkano::kMakerWidth, kDriverIdentity.maker);
    bytes[velkano::kFlagOffset] = kDriverIdentity.flag84;
    bytes[velkano::kWritesOffset] = kDriverIdentity.writes;
    for (int i = 0; i < 13; ++i) {
        velkano::putInt32(bytes + velkano::kWordsOffset + 4 * i, kDriverIdentity.words[i]);
    }
    return 1;
}

int32_t FIO_IsFileOfMyType(const char*) {
    return 1;
}

int32_t FIO_GetExtensions(int32_t type, char* buffer, uint32_t size) {
    if (buffer != nullptr && size > 0) std::memset(buffer, 0, size);
    if (!velkano::handles(type)) return -1;
    if (buffer == nullptr || size == 0) return 1;
    const char* ext = kDriverIdentity.extension;
    for (uint32_t i = 0; i + 1 < size && ext[i] != '\0'; ++i) buffer[i] = ext[i];
    return 1;
}

int32_t FIO_TranslateFilename(const char* source, char* destination, uint32_t size) {
    if (destination == nullptr || size == 0) return 1;
    uint32_t i = 0;
    if (source != nullptr) {
        for (; i + 1 < size && source[i] != '\0'; ++i) destination[i] = source[i];
    }
    destination[i] = '\0';
    return 1;
}

FIOVelkano17* FIO_InitDriver(void) {
    // A state left over from an earlier FIO_InitDriver is released, closing its files.
    FIO_ExitDriver();
    global_values* created = velkano::ensureDriver();
    return created != nullptr ? &created->state : nullptr;
}

void FIO_ExitDriver(void) {
    global_values* old = g_driver;
    g_driver = nullptr;
    delete old;
}

int32_t FIO_ReadFDEntry(void*, void*, void*, void*) {
    return -1;
}
int32_t FIO_IGC2Flight(void*, void*, void*, void*) {
    return -1;
}
int32_t FIO_WriteDeclaration(void*, void*, void*, void*) {
    return -1;
}
int32_t FIO_ReadDeclaration(void*, void*, void*, void*) {
    return -1;
}

}  // extern "C"

#if !defined(_WIN32)
// Unloading the library releases the state and closes the companion files even when the
// host never called FIO_ExitDriver.
__attribute__((destructor)) static void releaseOnUnload() {
    FIO_ExitDriver();
}
#endif
