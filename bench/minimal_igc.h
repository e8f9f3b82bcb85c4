// The smallest converter of a flight file to IGC we can write: the file image in memory,
// one pass over the fixes, one snprintf per B line, the text built up for a single write.
// It is the floor FIO_Flight2IGC is measured against, so it prints the same bytes as the
// driver for the first flight of a file with a header, and no more than that: it reads a
// task point's name and short name and leaves the ICAO field alone.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace bench {

// Appends the IGC text of the file's first flight to out. False when the image is not a
// flight file this converter understands (no header, no flight, a wrong tag, too short).
bool minimalIgc(std::span<const uint8_t> file, std::string& out);

}  // namespace bench
