// Test encoder for the turnpoint record ('n'), built field by field with ByteWriter and
// independent of the driver's own writer.
//
// Usage: start from a default TpRecordFields (a valid version-5 record with no points and no
// runway entries), set the fields a test cares about and call encodeTpRecord. Only the
// fields the record's version carries are written: the short name from version 5, the
// byte after the runway block from version 2, the int16 after it from version 3, and the
// comment block (with the mark byte) from version 4.
//
// Every tag is overridable, so a test can break any one of them. Texts are written as they
// are, cut at their field width (a full-width text has no terminating zero); use
// tpFieldsFromEntry for the text cutting the driver's writer applies.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "byte_writer.h"
#include "velkano/fio_codes.h"
#include "velkano/host_records.h"

namespace testenc {

// One coordinate pair of the detail block's point list.
struct TpPointFields {
    double latitude = 0.0;
    double longitude = 0.0;
    int tag = 'r';
};

// One 11-byte runway entry.
struct TpRunwayFields {
    double length = 0.0;
    int direction = 0;    // int16 in the file
    int surfaceByte = 0;  // 'F', 'G', 'H' or anything else
    int tag = 's';
};

struct TpRecordFields {
    int tag = 'n';
    int version = 5;  // int16; compared signed by readers
    int32_t number = 1;
    int kindByte = 9;
    std::string name;
    std::string shortName;  // written only when version >= 5
    double latitude = 0.0;
    double longitude = 0.0;
    int positionTag = 'r';

    int detailTag = 'm';
    std::vector<TpPointFields> points;
    std::optional<int> pointCount;  // count field; defaults to points.size()
    int reservedPairTag1 = 'r';
    int reservedPairTag2 = 'r';
    double elevation = 0.0;
    double frequency = 0.0;
    std::string icao;

    int runwayBlockTag = '2';
    std::vector<TpRunwayFields> runways;
    std::optional<int> runwayCount;  // count field; defaults to runways.size()

    std::string comment;  // version >= 4
    int markByte = 0;     // version >= 4

    // Fills every reserved field with non-zero values (the reserved pairs keep their tags),
    // for checking that a reader skips them without looking.
    bool junkInReserved = false;
};

// The record's bytes.
std::vector<uint8_t> encodeTpRecord(const TpRecordFields& desc);
// Appends the record to a file being built.
void appendTpRecord(ByteWriter& out, const TpRecordFields& desc);

// Size of a record with the given version, point count and runway count.
size_t tpRecordSize(int version, size_t points, size_t runways);

// The description of the record the driver writes for entry as turnpoint number: version 5, kind
// byte and surface letter by the kind and surface tables, texts cut to width - 1, the
// frequency text's leading decimal number (C locale), one runway entry when the length or
// the direction is non-zero.
TpRecordFields tpFieldsFromEntry(const FIO_TPEntry& entry, int32_t number);

// The kind byte the driver writes for a kind code (9 for codes outside the table).
int kindByteForKind(int32_t kind);

}  // namespace testenc
