// The route driver's format exports: thin sequences over the driver state's operations.
// Without a driver state (no FIO_InitDriver) or without the objects to work on they refuse
// with -1 rather than touch null pointers.
#include "driver_frame.h"
#include "global_values.h"
#include "velkano/fio_exports.h"

namespace {

constexpr int32_t kReadTurnpoint = 1;
constexpr int32_t kReadRoute = 2;
constexpr int32_t kDone = 1;
constexpr int32_t kRefused = -1;

// Makes tpWriteFile the companion of the task file being written, creating (emptying) it
// when none is open or the open one belongs to another task file.
void openWriteCompanion(global_values& driver, const CFile& taskFile) {
    std::string path = FIOVelkano17::companionPath(taskFile.GetFilePath());
    if (driver.tpWriteFile != nullptr && path == driver.tpWritePath) return;

    std::unique_ptr<CFIOFile> previous = std::move(driver.tpWriteFile);
    driver.tpWritePath.clear();
    driver.state.tpHeaderWritten = false;
    driver.state.taskHeaderWritten = false;
    // Closing flushes; a failure to store the previous companion's content must be heard.
    if (previous != nullptr) previous->Close();

    driver.tpWriteFile = std::make_unique<CFIOFile>(path, CFIOFile::kWriteFlags);
    driver.tpWritePath = std::move(path);
}

}  // namespace

extern "C" {

int32_t FIO_ReadObject(CFile* file, FIO_TPEntry* entry, FIO_Route* route) {
    if (velkano::g_driver == nullptr || file == nullptr || entry == nullptr || route == nullptr) {
        return kRefused;
    }
    FIOVelkano17& state = velkano::g_driver->state;
    if (state.prepareTpRead(*file) && state.readNextTp(*entry)) return kReadTurnpoint;
    // A companion without turnpoints goes straight on to the routes: hosts read until -1,
    // and a -1 here would lose every route of the file.
    return state.readRoute(*file, *route) ? kReadRoute : kRefused;
}

int32_t FIO_WriteTP(void*, FIO_TPEntry* entry) {
    if (velkano::g_driver == nullptr || entry == nullptr) return kRefused;
    global_values& driver = *velkano::g_driver;
    if (driver.tpWriteFile == nullptr) return kRefused;
    return driver.state.writeTpRecord(*driver.tpWriteFile, *entry) ? kDone : kRefused;
}

int32_t FIO_WriteHeader(CFile* file, FIO_Header* header) {
    if (velkano::g_driver == nullptr || file == nullptr || header == nullptr) return kRefused;
    global_values& driver = *velkano::g_driver;
    FIOVelkano17& state = driver.state;
    openWriteCompanion(driver, *file);

    switch (header->kind) {
        case FIO_Header::kBegin:
            if (!state.writeTpHeader(*driver.tpWriteFile, header->turnpointCount)) return kRefused;
            return state.writeTaskHeader(*file, header->routeCount) ? kDone : kRefused;
        case FIO_Header::kEnd:
            state.writeTpTrailer(*driver.tpWriteFile);
            state.writeTaskTrailer(*file);
            // Write errors of the companion surface here, not lost at close.
            driver.tpWriteFile->Flush();
            return kDone;
        default:
            return kDone;
    }
}

int32_t FIO_WriteRoute(CFile* file, FIO_Route* route) {
    if (velkano::g_driver == nullptr || file == nullptr || route == nullptr) return kRefused;
    return velkano::g_driver->state.writeRoute(*file, *route) ? kDone : kRefused;
}

int32_t FIO_Flight2IGC(CFile*, CStdioFile*) {
    return kRefused;
}

}  // extern "C"
