// Field primitives of the legacy formats: one Read or Write of exactly the field's width
// per field, little-endian, through a host file. A host's Read may return fewer bytes than
// asked for and leave the rest of the buffer as it was, so every read zeroes its buffer
// first and checks the count: a field the file cannot fill throws FIO_Error "bad object".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "velkano/fio_codes.h"
#include "velkano/fio_error.h"
#include "velkano/host_file.h"

namespace velkano {

// Record tags: every record and sub-record opens with one.
enum RecordTag : int32_t {
    kTagTurnpoint = 'n',
    kTagDetailBlock = 'm',
    kTagRunwayBlock = '2',
    kTagRunway = 's',
    kTagCoordPair = 'r',
    kTagRoute = 'i',
    kTagRoutePoint = 'j',
    kTagFlight = 'v',
    kTagFixList = 'u',
    kTagFix = 't',
};

[[noreturn]] void throwBadObject();
[[noreturn]] void throwBadFile();

// Reads up to width bytes into buffer and returns how many the file held; the bytes it
// could not fill are zero.
uint32_t readAvailable(CFile& file, void* buffer, uint32_t width);
// Reads exactly width bytes into buffer; FIO_Error "bad object" when the file ends first.
void readField(CFile& file, void* buffer, uint32_t width);

// Decoding a field's bytes: the characters before the first zero byte or all width of
// them; a little-endian int16, sign-extended.
std::string textOf(const char* field, int32_t width);
int32_t int16Of(const uint8_t* bytes);

int32_t readByte(CFile& file);   // signed 8-bit, widened
int32_t readInt16(CFile& file);  // sign-extended
int32_t readInt32(CFile& file);
// The characters before the first zero byte of a width-byte field, or all of them.
std::string readText(CFile& file, int32_t width);
float readReal48(CFile& file);
// Reads an 'r' pair (longitude, then latitude, in the file); throws FIO_Error "bad object"
// on a wrong tag without touching either destination.
void readCoordPair(CFile& file, float& latitude, float& longitude);
// Reads an int16 tag and throws FIO_Error "bad object" unless it equals expected.
void expectTag(CFile& file, int32_t expected);
// Reads and drops count bytes.
void skipBytes(CFile& file, uint32_t count);

void writeByte(CFile& file, int32_t value);   // low 8 bits
void writeInt16(CFile& file, int32_t value);  // low 16 bits
void writeInt32(CFile& file, int32_t value);
// A width-byte field holding at most width - 1 characters of text, zero-filled.
void writeText(CFile& file, std::string_view text, int32_t width);
void writeReal48(CFile& file, float value);
void writeCoordPair(CFile& file, float latitude, float longitude);
void writeZeros(CFile& file, uint32_t count);

// A decoded Real48 as an int32 member: truncated toward zero. Real48 reaches about 1.7e38,
// far beyond int32, so out-of-range values saturate instead of being undefined.
int32_t truncateToInt32(float value);

}  // namespace velkano
