// IGC text of one flight: the A record, eight H records, the I record, the C records of the
// declared task and one B record per fix. Every line fits the fixed columns of the IGC
// format, whatever the flight file held.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "flight_record.h"
#include "velkano/host_file.h"
#include "velkano/host_records.h"

namespace velkano {

// Prints every line of the flight.
void writeFlightIgc(CStdioFile& out, const FIO_Flight& flight);

void writeARecord(CStdioFile& out, const FIO_Flight& flight);
void writeHRecords(CStdioFile& out, const FIO_Flight& flight);
void writeIRecord(CStdioFile& out);
// The declaration line and the task point lines; nothing when no point is declared.
void writeTaskRecords(CStdioFile& out, const FIO_Flight& flight);
void writeDeclarationLine(CStdioFile& out, const FIO_Flight& flight, int32_t declared);
void writeTaskPointLine(CStdioFile& out, const FIO_TPEntry& entry);
void writeFixLine(CStdioFile& out, const FIO_FixEntry& fix);
// One B line per fix, in order.
void writeFixLines(CStdioFile& out, std::span<const FIO_FixEntry> fixes);

// Task entries among the first taskSize whose latitude or longitude is non-zero. Empty
// entries in between do not end the count.
int32_t declaredTaskPoints(const FIO_Flight& flight);

// The stored year's last two digits: 1998, 98 -> 98; 2004 -> 4.
int32_t twoDigitYear(int32_t year);

// Seconds since midnight folded into one day, 0 to 86399.
int32_t timeOfDay(int32_t seconds);

// The text with every control character replaced by a space, so that a text read from a
// flight file cannot end a line early or start another record.
std::string igcText(std::string_view text);

}  // namespace velkano
