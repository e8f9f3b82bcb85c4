#include "file_header.h"

#include "record_io.h"
#include "velkano/fio_codes.h"

namespace velkano {

namespace {

// The fields before the count: what tells a header from a headerless file.
constexpr uint32_t kMarkerWidth = 1;
constexpr uint32_t kVersionWidth = 2;
constexpr uint32_t kHeaderStartSize = kMagicWidth + kMarkerWidth + kVersionWidth;

}  // namespace

FileHeader readFileHeader(CFile& file, std::string_view magic, EmptyFile empty) {
    // A headerless file may be shorter than a header, so these fields may come up short; the
    // bytes they lack read as zeros.
    char magicField[kMagicWidth];
    uint8_t marker[kMarkerWidth];
    uint8_t version[kVersionWidth];
    uint32_t got = readAvailable(file, magicField, kMagicWidth);
    got += readAvailable(file, marker, kMarkerWidth);
    got += readAvailable(file, version, kVersionWidth);
    if (got == 0 && empty == EmptyFile::holdsNothing) return {};

    const bool hasMagic = textOf(magicField, kMagicWidth) == magic;
    if (hasMagic && got < kHeaderStartSize) throwBadFile();
    if (!hasMagic) file.Seek(0, CFile::begin);

    FileHeader header;
    header.version = int16Of(version);
    uint8_t count[2];
    if (readAvailable(file, count, sizeof count) < sizeof count) throwBadFile();
    header.count = int16Of(count);
    return header;
}

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
