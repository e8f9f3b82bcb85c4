// The 56-byte header that opens all three files: a magic text of 51 bytes, a marker byte,
// the format version (int16) and the record count (int16).
#pragma once

#include <cstdint>
#include <string_view>

#include "velkano/fio_codes.h"
#include "velkano/host_file.h"

namespace velkano {

inline constexpr int32_t kHeaderMarker = 26;  // 0x1A, after the magic field
inline constexpr int32_t kFileFormatVersion = 5;
inline constexpr uint32_t kHeaderCountOffset = 54;

struct FileHeader {
    int32_t version = 0;
    int32_t count = 0;  // unchecked
};

// Whether a file without a single byte is a file without records or a cut one.
enum class EmptyFile { isCut, holdsNothing };

// Reads the header at the file's position 0. A file whose magic field does not hold magic
// (compared up to its first zero byte) has no header: it is rewound and its first two
// bytes are the count; its version is then what offset 52 holds. Throws FIO_Error "bad
// file" when the file ends inside the header or before a count.
FileHeader readFileHeader(CFile& file, std::string_view magic, EmptyFile empty);

// "Velkano TP File" + zeros to 51 bytes, 1A, 05 00, count as int16 (its low 16 bits)
void writeFileHeader(CFile& file, std::string_view magic, int32_t count);

// Corrects the count of a header written at offset 0 and returns to the end of the file.
void rewriteHeaderCount(CFile& file, int32_t count);

}  // namespace velkano
