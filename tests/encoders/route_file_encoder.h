// Test encoders for the route driver's two files: the task file (route records) and its
// companion turnpoint file (turnpoint records, from tp_record_encoder), each with or without
// the 56-byte header, any announced count, and the trailers the driver writes. Built field by
// field with ByteWriter, independent of the driver's own writers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "byte_writer.h"
#include "tp_record_encoder.h"
#include "velkano/fio_codes.h"
#include "velkano/host_records.h"

namespace testenc {

using velkano::kFileHeaderSize;
inline constexpr size_t kTaskTrailerSize = 93;

// How a file opens. By default: the file's magic, marker 26, version 5 and a count equal to
// the number of records that follow.
struct FileFrameFields {
    bool headerless = false;  // just the int16 count at offset 0
    // The 51-byte magic field's bytes (cut at 51, zero-padded); the file's magic when unset.
    std::optional<std::string> magicField;
    int marker = 26;
    int version = 5;
    std::optional<int> count;  // int16
};

// One 'j' sub-record. The flag byte is written only for listed points of version > 0.
struct RoutePointFields {
    int32_t number = 0;
    int flag = 0;
    int tag = 'j';
};

// A route record. Only the fields the version carries are written: the listed points'
// flags from version 1, the before-start and after-finish points from version 3, the name
// from version 4 and the end byte from version 5.
struct RouteRecordFields {
    int tag = 'i';
    int version = 5;  // int16; compared signed by readers
    int32_t id = 1;
    std::vector<RoutePointFields> listed;
    std::optional<int> listedCount;  // n field; defaults to listed.size()
    RoutePointFields beforeStart{-1};
    RoutePointFields afterFinish{-1};
    std::string name;  // written as it is, cut at 201 (a full-width name has no zero)
    int endByte = 'J';
    bool junkInReserved = false;  // non-zero values in the fields readers skip
};

std::vector<uint8_t> encodeFileHeader(std::string_view magic, const FileFrameFields& frame,
                                      int defaultCount);

std::vector<uint8_t> encodeRouteRecord(const RouteRecordFields& desc);
void appendRouteRecord(ByteWriter& out, const RouteRecordFields& desc);
// Size of a record of the given version with n listed points.
size_t routeRecordSize(int version, size_t listed);

// Whole files, without trailer (readers never reach it).
std::vector<uint8_t> encodeTpFile(const std::vector<TpRecordFields>& records,
                                  const FileFrameFields& frame = {});
std::vector<uint8_t> encodeTaskFile(const std::vector<RouteRecordFields>& records,
                                    const FileFrameFields& frame = {});

// The trailers the driver writes: maxTpNumber, 9; and maxRouteId, 89 zero bytes.
std::vector<uint8_t> tpFileTrailer(int32_t maxTpNumber);
std::vector<uint8_t> taskFileTrailer(int32_t maxRouteId);

// The record the driver writes for a host route with at least one point: the inner points
// listed with flag 1 for role 3, the first and last points as before-start and
// after-finish, the name cut to 200 characters.
RouteRecordFields routeFieldsFromRoute(const FIO_Route& route);

}  // namespace testenc
