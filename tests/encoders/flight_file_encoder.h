// Test encoder for the legacy flight file, built field by field with ByteWriter and
// independent of the driver's reader.
//
// Usage: fill a FlightFileFields with a version and FlightFieldsList, set the fields a test cares
// about and call encodeFlightFile. Only the fields the version carries are written: the
// int32 at offset 19 of the flight data block from version 3, the tail Real48 from
// version 5, 20 task entries instead of 10 from version 6, the glider registration from
// version 7. Task entries a flight does not give are written as blank turnpoint records.
//
// Every tag and count is overridable, so a test can break any one of them. Texts are
// written as they are, cut at their field width (a full-width text has no terminating
// zero).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "byte_writer.h"
#include "tp_record_encoder.h"

namespace testenc {

inline constexpr int kExtensionMarker = 9876;

// One 31-byte fix record.
struct FixFields {
    double latitude = 0.0;
    double longitude = 0.0;
    int32_t seconds = 0;
    int pressureAltitude = 0;  // int16
    int gnssAltitude = 0;      // int16
    int validity = 1;          // byte
    int enl = 0;               // int16
    std::array<int, 3> extra{};
    int tag = 't';
};

// One task entry: the 24-byte prefix and a turnpoint record.
struct TaskEntryFields {
    TpRecordFields record;
};

struct FlightFields {
    int tag = 'v';

    int fixListTag = 'u';
    std::vector<FixFields> fixes;
    std::optional<int> fixCount;  // count field (int16); defaults to fixes.size()
    int trailerPairTag1 = 'r';
    int trailerPairTag2 = 'r';

    int day = 1;
    int month = 1;
    int year = 2000;
    int extensionMarker = 0;  // kExtensionMarker adds the extension block
    int extensionCount = 1;   // 2 or more adds one int16 per task entry

    std::string recorderMaker = "XXX";
    std::string recorderSerial = "001";
    std::string recorderType;
    std::string pilot;
    std::string gliderType;
    std::string gliderId;  // written from version 7
    std::string competitionId;
    std::string competitionClass;

    std::vector<TaskEntryFields> task;  // the first entries of the task block

    // Fills every skipped field with non-zero values (coordinate pairs keep their tags), for
    // checking that a reader steps over them without looking.
    bool junkInSkipped = false;
};

struct FlightFileFields {
    bool header = true;
    std::string magic = "Velkano Flight File";
    int version = 5;                 // int16
    std::optional<int> flightCount;  // count field (int16); defaults to flights.size()
    std::vector<FlightFields> flights;
};

// Task entries per flight record for a version: 10, or 20 from version 6.
int flightTaskSize(int version);

void appendFlightRecord(ByteWriter& out, const FlightFields& flight, int version);
std::vector<uint8_t> encodeFlightRecord(const FlightFields& flight, int version);

// The whole file. Without a header the flight count stands at offset 0 and the first record
// at offset 2; a reader then takes the version from the int16 at offset 52, so the encoder
// puts the version there. Those two bytes fall into fields a reader drops or ignores: the
// low fraction bytes of a Real48 or a skipped int32 of the first flight (a file shorter than
// 54 bytes reads as version 0).
std::vector<uint8_t> encodeFlightFile(const FlightFileFields& file);

// A flight record's size in bytes.
size_t flightRecordSize(const FlightFields& flight, int version);

}  // namespace testenc
