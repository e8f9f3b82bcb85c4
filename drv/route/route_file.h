// The frame both route-driver files share: a 56-byte header (magic text, marker, format
// version, record count), the records, then a trailer of each file's own.
#pragma once

#include <cstdint>
#include <string_view>

#include "velkano/host_file.h"

namespace velkano {

inline constexpr std::string_view kTpFileMagic = "Velkano TP File";
inline constexpr std::string_view kTaskFileMagic = "Velkano TASK File";

inline constexpr int32_t kMagicWidth = 51;
inline constexpr int32_t kHeaderMarker = 26;  // 0x1A, after the magic field
inline constexpr int32_t kFileFormatVersion = 5;
inline constexpr uint32_t kHeaderCountOffset = 54;

inline constexpr int32_t kTpTrailerEnd = 9;
inline constexpr uint32_t kTaskTrailerZeros1 = 13;
inline constexpr uint32_t kTaskTrailerZeros2 = 76;

// Reads a header at the file's position 0 and returns its record count, unchecked. A file
// whose magic field does not hold magic (compared up to its first zero byte) has no
// header: it is rewound and its first two bytes are the count.
int32_t readFileHeader(CFile& file, std::string_view magic);

// Writes a header announcing the low 16 bits of count.
void writeFileHeader(CFile& file, std::string_view magic, int32_t count);

// Corrects the count of a header written at offset 0 and returns to the end of the file.
void rewriteHeaderCount(CFile& file, int32_t count);

}  // namespace velkano
