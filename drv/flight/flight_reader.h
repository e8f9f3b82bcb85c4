// Reader of the legacy flight file: the file header, and one flight record with its fix
// list, texts and embedded task.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "file_header.h"
#include "flight_record.h"
#include "velkano/host_file.h"

namespace velkano {

// Reads the header at the file's start, the count unchecked. A file without the magic text
// is re-read from offset 0, where its flight count stands; its version is then whatever the
// int16 at offset 52 holds. Throws FIO_Error "bad file" when the file ends before a count.
FileHeader readFlightFileHeader(CFile& file);

// Reads the next flight record in the layout of the file's version into flight, which must
// be freshly constructed. Throws FIO_Error "bad object" on any wrong tag and when the file
// ends inside the record.
void readFlight(CFile& file, int32_t version, FIO_Flight& flight);

// Reads a fix list ('u'), appending its fixes.
void readFixList(CFile& file, std::vector<FIO_FixEntry>& fixes);

// A text field of width bytes without its trailing white space.
std::string readTrimmedText(CFile& file, int32_t width);

// Number of task entries a flight record of this version carries.
int32_t flightTaskSize(int32_t version);

}  // namespace velkano
