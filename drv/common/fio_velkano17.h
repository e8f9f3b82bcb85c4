// The driver state: one class serves both drivers, each using its own counters and
// operations. The route operations are defined in the route driver, the flight operations
// in the flight driver; each library compiles only its own.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "velkano/host_file.h"
#include "velkano/host_records.h"

class FIOVelkano17 {
public:
    FIOVelkano17();
    virtual ~FIOVelkano17();

    FIOVelkano17(const FIOVelkano17&) = delete;
    FIOVelkano17& operator=(const FIOVelkano17&) = delete;

    // Turnpoint records (both drivers).
    bool readTpRecord(CFile& file, FIO_TPEntry& entry);
    // Writes one record numbered tpDone + 1; false, writing nothing, once tpTotal are written.
    bool writeTpRecord(CFile& file, const FIO_TPEntry& entry);

    // Route driver: framing.
    static std::string companionPath(const std::string& hostPath);
    bool prepareTpRead(CFile& hostFile);
    bool readNextTp(FIO_TPEntry& entry);
    bool readTp(CFile& file, FIO_TPEntry& entry);
    bool writeTpHeader(CFile& file, int32_t count);
    bool writeTaskHeader(CFile& file, int32_t count);
    bool writeTpTrailer(CFile& file);
    bool writeTaskTrailer(CFile& file);

    // Route driver: route records.
    bool readRoute(CFile& hostFile, FIO_Route& route);
    bool writeRoute(CFile& hostFile, const FIO_Route& route);

    // Flight driver: converts the next flight to IGC; false when none is left.
    bool convertFlight(CFile& flightFile, CStdioFile& igcFile);

    int32_t tpTotal = 0;
    int32_t tpDone = 0;
    int32_t taskTotal = 0;
    int32_t taskDone = 0;
    int32_t maxTpNumber = 0;
    int32_t maxRouteId = 0;
    int32_t flightTotal = 0;
    int32_t flightDone = 0;
    int32_t flightVersion = 0;
    // Route driver: set while the header at the start of the file being written is this
    // state's and the matching counters count its records, so a short write can correct
    // the header's count before the trailer.
    bool tpHeaderWritten = false;
    bool taskHeaderWritten = false;
    std::unique_ptr<CFIOFile> tpReadFile;
    // Companion path tpReadFile was opened for: a different task file gets its own companion.
    std::string tpReadPath;
    // The task file path tpReadPath was last derived from, so that every read of the same
    // task file need not derive it again.
    std::string tpReadHostPath;
};
