#include "route_framing.h"

#include "file_header.h"
#include "record_io.h"

namespace velkano {

int32_t readTpFileHeader(CFile& file) {
    const int32_t count = readFileHeader(file, kTpFileMagic, EmptyFile::holdsNothing).count;
    if (count > kMaxRecordCount) throwBadFile();
    return count;
}

int32_t readTaskFileHeader(CFile& file) {
    const int32_t count = readFileHeader(file, kTaskFileMagic, EmptyFile::isCut).count;
    if (count < 0 || count > kMaxRecordCount) throwBadFile();
    return count;
}

void writeTpFileHeader(CFile& file, int32_t count) {
    writeFileHeader(file, kTpFileMagic, count);
}

void writeTaskFileHeader(CFile& file, int32_t count) {
    writeFileHeader(file, kTaskFileMagic, count);
}

void writeTpTrailer(CFile& file, int32_t maxTpNumber) {
    writeInt32(file, maxTpNumber);
    writeByte(file, kTpTrailerEnd);
}

void writeTaskTrailer(CFile& file, int32_t maxRouteId) {
    writeInt32(file, maxRouteId);
    writeZeros(file, kTaskTrailerZeros1);
    writeZeros(file, kTaskTrailerZeros2);
}

}  // namespace velkano
