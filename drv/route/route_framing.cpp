// Opening the companion turnpoint file, the turnpoint side of reading, and the headers and
// trailers of both files with the counters that follow them.
#include <algorithm>

#include "fio_velkano17.h"
#include "record_io.h"
#include "route_file.h"

bool FIOVelkano17::prepareTpRead(CFile& hostFile) {
    // The turnpoints belong to the task file they sit beside: a host that moves on to another
    // task file must not be handed the first file's turnpoints.
    std::string hostPath = hostFile.GetFilePath();
    if (tpReadFile == nullptr || hostPath != tpReadHostPath) {
        std::string path = companionPath(hostPath);
        tpReadHostPath = std::move(hostPath);
        if (tpReadFile == nullptr || path != tpReadPath) {
            tpReadFile.reset();
            tpReadPath.clear();
            tpReadFile = std::make_unique<CFIOFile>(path, CFIOFile::kReadFlags);
            tpReadPath = std::move(path);
        }
    }
    return tpReadFile->GetPosition() == 0 || tpDone < tpTotal;
}

bool FIOVelkano17::readNextTp(FIO_TPEntry& entry) {
    if (tpReadFile == nullptr) return false;
    if (tpDone >= tpTotal && tpReadFile->GetPosition() != 0) return false;
    return readTp(*tpReadFile, entry);
}

bool FIOVelkano17::readTp(CFile& file, FIO_TPEntry& entry) {
    if (file.GetPosition() == 0) {
        const int32_t count = velkano::readFileHeader(file, velkano::kTpFileMagic);
        // Zero or fewer simply means no turnpoints; only an oversized count is refused.
        if (count > velkano::kMaxRecordCount) velkano::throwBadFile();
        tpTotal = count;
        tpDone = 0;
        tpHeaderWritten = false;
    }
    if (tpDone >= tpTotal) return false;
    readTpRecord(file, entry);
    maxTpNumber = std::max(maxTpNumber, entry.number);
    ++tpDone;
    return true;
}

bool FIOVelkano17::writeTpHeader(CFile& file, int32_t count) {
    if (file.GetPosition() != 0) return false;
    velkano::writeFileHeader(file, velkano::kTpFileMagic, count);
    tpTotal = static_cast<int16_t>(count);
    tpDone = 0;
    tpHeaderWritten = true;
    return true;
}

bool FIOVelkano17::writeTaskHeader(CFile& file, int32_t count) {
    if (file.GetPosition() != 0) return false;
    velkano::writeFileHeader(file, velkano::kTaskFileMagic, count);
    taskTotal = static_cast<int16_t>(count);
    taskDone = 0;
    taskHeaderWritten = true;
    return true;
}

// Readers stop at the header's count, so a short write corrects the count rather than
// leaving the trailer where a record is expected.
bool FIOVelkano17::writeTpTrailer(CFile& file) {
    if (tpHeaderWritten && tpDone < tpTotal) {
        velkano::rewriteHeaderCount(file, tpDone);
        tpTotal = tpDone;
    }
    velkano::writeInt32(file, maxTpNumber);
    velkano::writeByte(file, velkano::kTpTrailerEnd);
    return true;
}

bool FIOVelkano17::writeTaskTrailer(CFile& file) {
    if (taskHeaderWritten && taskDone < taskTotal) {
        velkano::rewriteHeaderCount(file, taskDone);
        taskTotal = taskDone;
    }
    velkano::writeInt32(file, maxRouteId);
    velkano::writeZeros(file, velkano::kTaskTrailerZeros1);
    velkano::writeZeros(file, velkano::kTaskTrailerZeros2);
    return true;
}
