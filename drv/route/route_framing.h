// The frame of the route driver's two files: the 56-byte header, the records, then a
// trailer of each file's own. Stateless: the caller holds the counts.
#pragma once

#include <cstdint>

#include "velkano/host_file.h"

namespace velkano {

inline constexpr int32_t kTpTrailerEnd = 9;
// The task trailer's two zero fields after the highest route id.
inline constexpr uint32_t kTaskTrailerZeros1 = 13;
inline constexpr uint32_t kTaskTrailerZeros2 = 76;

// The turnpoint count of a turnpoint file's header. Zero or fewer, and an empty file, mean
// no turnpoints; FIO_Error "bad file" for a count above the record limit.
int32_t readTpFileHeader(CFile& file);
// The route count of a task file's header; FIO_Error "bad file" for a negative count or one
// above the record limit.
int32_t readTaskFileHeader(CFile& file);

void writeTpFileHeader(CFile& file, int32_t count);
void writeTaskFileHeader(CFile& file, int32_t count);

// highest turnpoint number (int32), 09
void writeTpTrailer(CFile& file, int32_t maxTpNumber);
// highest route id (int32), 13 zero bytes, 76 zero bytes
void writeTaskTrailer(CFile& file, int32_t maxRouteId);

}  // namespace velkano
