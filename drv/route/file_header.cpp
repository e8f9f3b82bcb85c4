#include "record_io.h"
#include "route_file.h"

namespace velkano {

int32_t readFileHeader(CFile& file, std::string_view magic) {
    const std::string magicField = readText(file, kMagicWidth);
    readByte(file);   // marker: old writers vary it
    readInt16(file);  // format version: every version frames its records alike
    if (magicField != magic) file.Seek(0, CFile::begin);
    return readInt16(file);
}

// "Velkano TP File" + zeros to 51 bytes, 1A, 05 00, count as int16
void writeFileHeader(CFile& file, std::string_view magic, int32_t count) {
    writeText(file, magic, kMagicWidth);
    writeByte(file, kHeaderMarker);
    writeInt16(file, kFileFormatVersion);
    writeInt16(file, count);
}

void rewriteHeaderCount(CFile& file, int32_t count) {
    file.Seek(kHeaderCountOffset, CFile::begin);
    writeInt16(file, count);
    file.Seek(0, CFile::end);
}

}  // namespace velkano
